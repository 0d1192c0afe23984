// The scroller on the Recorder: which lines show when, the four pieces of a folded line with their
// techniques, clips and materials, and the folds themselves: the pieces laid end to end around the
// corners of a box, as the text must look.
#include "Support/DXEffectFixture.h"
#include "Support/FrameworkFailure.h"

#include "Framework/Scene/CurveFile.h"
#include "Framework/Timer/Timer.h"
#include "Modules/Scroller/Scroller.h"

#include <algorithm>
#include <cmath>

namespace {

const std::string ScrollerEffect = R"(
float4x4 World : LOCAL;
float4x4 WorldViewProj : LOCALVIEWPROJ;
float4 Diffuse : DIFFUSE;
float2 Clip : SCROLLCLIP;
glsl vertex V(vec3 Position : POSITION0) { void main() { gl_Position = vec4(Position, 1.0) * WorldViewProj; } }
glsl fragment F(vec4 Color : COLOR0) { void main() { Color = Diffuse + vec4(Clip, 0.0, 0.0); } }
technique ScrollerShader { pass P0 { VertexShader = V; PixelShader = F; } }
technique ScrollerShader_zcull { pass P0 { VertexShader = V; PixelShader = F; } }
technique ScrollerShaderZBuffer { pass P0 { VertexShader = V; PixelShader = F; } }
technique ScrollerShaderZBuffer_zcull { pass P0 { VertexShader = V; PixelShader = F; } }
)";

// Each line slides along x from 0 to -20 over the show's first 100 s, on the line z = zOffset[i].
ArchiveEntries LineFiles(const std::array<float, Scroller::LineCount>& zOffset)
{
    ArchiveEntries entries;
    for (int i = 1; i <= Scroller::LineCount; ++i) {
        const std::string name = "Data\\anim\\TindrevikScroll" + std::to_string(i);
        entries["Data\\TindrevikScrollShape" + std::to_string(i) + ".x"] = Bytes(GreyTriangleMesh);
        entries[name + ".translateX"] = EncodeCurveKeys({{0, 0, -0.2f, -0.2f}, {100, -20, -0.2f, -0.2f}});
        entries[name + ".translateZ"] = EncodeCurveKeys({{0, zOffset[i - 1], 0, 0}});
        for (const char* channel : {".translateY", ".rotateX", ".rotateY", ".rotateZ"})
            entries[name + channel] = EncodeCurveKeys({{0, 0, 0, 0}});
    }
    return entries;
}

D3DXVECTOR3 Transformed(const std::vector<float>& matrix, const D3DXVECTOR3& point)
{
    D3DXMATRIX m;
    std::copy(matrix.begin(), matrix.end(), &m(0, 0));
    D3DXVECTOR4 out;
    D3DXVec3Transform(&out, &point, &m);
    return {out.x, out.y, out.z};
}

float Distance(const D3DXVECTOR3& a, const D3DXVECTOR3& b)
{
    return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z);
}

} // namespace

class ScrollerTest : public DXEffectFixture {
protected:
    void SetUp() override
    {
        DXEffectFixture::SetUp();
        std::array<float, Scroller::LineCount> zOffset{};
        for (int i = 0; i < Scroller::LineCount; ++i)
            zOffset[i] = Scroller::Folds[i].points[0].z;
        ArchiveEntries entries = LineFiles(zOffset);
        entries["OShaders\\scroller.fxo"] = CompileEffect(ScrollerEffect);
        Start(entries);
        DXEffectHandler::Instance()->AddEffect("scroller", "scroller.fx", framework->effectPool);
        DXEffectHandler::SetActiveEffect("scroller");
        scroller.Load();
    }

    void TearDown() override
    {
        scroller.Release();
        DXEffectHandler::Instance()->DestroyEffect("scroller");
        DXEffectHandler::SetActiveEffect("Global");
        DXEffectFixture::TearDown();
    }

    // The snapshots of the draws a pass of the scroller makes at the show time.
    std::vector<EffectPassSnapshot> DrawAt(double seconds, bool depth = false)
    {
        Timer::SetFrameClock(seconds, Timer::GetDelta());
        const size_t first = recorder->Count(Op::DrawIndexedPrimitive);
        DXFramework::device->BeginScene();
        depth ? scroller.DrawDepth() : scroller.Draw();
        DXFramework::device->EndScene();
        std::vector<EffectPassSnapshot> drawn;
        for (size_t draw = first; draw < recorder->Count(Op::DrawIndexedPrimitive); ++draw)
            drawn.push_back(draws.Draw(draw));
        return drawn;
    }

    // The lines drawn at a time, told apart by their first piece's clip.
    std::vector<int> LinesAt(double seconds)
    {
        const std::vector<EffectPassSnapshot> drawn = DrawAt(seconds);
        EXPECT_EQ(drawn.size() % 4, 0u);
        std::vector<int> lines;
        for (size_t piece = 0; piece < drawn.size(); piece += 4)
            for (int i = 0; i < Scroller::LineCount; ++i)
                if (drawn[piece].Floats("SCROLLCLIP")[0] == Scroller::Folds[i].points[0].x)
                    lines.push_back(i + 1);
        return lines;
    }

    Scroller scroller{"TindrevikScroller"};
};

TEST_F(ScrollerTest, ALineShowsOnlyInsideItsOpenWindowAndUpToThreeOverlap)
{
    EXPECT_EQ(LinesAt(37.0), std::vector<int>{});
    EXPECT_EQ(LinesAt(40.0), std::vector<int>{1});
    EXPECT_EQ(LinesAt(46.0), (std::vector<int>{1, 2}));
    EXPECT_EQ(LinesAt(50.0), std::vector<int>{2});
    EXPECT_EQ(LinesAt(56.0), (std::vector<int>{2, 3}));
    EXPECT_EQ(LinesAt(57.0), std::vector<int>{3});
    EXPECT_EQ(LinesAt(60.0), (std::vector<int>{3, 4}));
    EXPECT_EQ(LinesAt(77.0), std::vector<int>{});
}

TEST_F(ScrollerTest, AFoldedLineIsAHiddenPieceTwoTextPiecesAndAHiddenPieceEachClippedToItsStretch)
{
    for (const bool depth : {false, true}) {
        const std::string technique = depth ? "ScrollerShaderZBuffer" : "ScrollerShader";
        const std::vector<EffectPassSnapshot> drawn = DrawAt(40.0, depth);
        ASSERT_EQ(drawn.size(), 4u);
        const std::vector<std::string> techniques = {drawn[0].technique, drawn[1].technique, drawn[2].technique,
                                                     drawn[3].technique};
        EXPECT_EQ(techniques, (std::vector<std::string>{technique + "_zcull", technique, technique, technique + "_zcull"}));
        const std::vector<std::vector<float>> clips = {{0.84f, 1000.0f}, {0.234f, 0.84f}, {-0.551f, 0.234f}, {-1000.0f, -0.551f}};
        const std::vector<float> colours = {0.0f, 1.0f, 1.0f, 0.0f};
        for (size_t piece = 0; piece < 4; ++piece) {
            EXPECT_EQ(drawn[piece].Floats("SCROLLCLIP"), clips[piece]) << "piece " << piece + 1;
            EXPECT_EQ(drawn[piece].Floats("DIFFUSE"), std::vector<float>(4, colours[piece])) << "piece " << piece + 1;
        }
        const D3DXVECTOR4& diffuse = scroller.lines[0]->materials[0].diffuse;
        EXPECT_TRUE(diffuse.x == 0 && diffuse.y == 0 && diffuse.z == 0 && diffuse.w == 0) << "black after a draw";
        EXPECT_EQ(scroller.lines[0]->previousWorldMatrix, scroller.lines[0]->worldMatrix) << "no motion between frames";
    }
}

// A line running along x through its first fold point is laid by its pieces along the box's
// faces: piece 2 from P1 to P2, piece 3 from P2 to P3, piece 4 on from P3 parallel to piece 1.
TEST_F(ScrollerTest, ThePiecesFoldTheLineAroundTheCornersOfABoxWhereverItHasSlid)
{
    for (int line = 0; line < Scroller::LineCount; ++line) {
        const Scroller::Fold& fold = Scroller::Folds[line];
        const D3DXVECTOR3& p1 = fold.points[0];
        const D3DXVECTOR3& p2 = fold.points[1];
        const D3DXVECTOR3& p3 = fold.points[2];
        const float side = Distance(p1, p2);
        EXPECT_NEAR(Distance(p2, p3), side, 0.01f) << "line " << line + 1 << ": the faces are as wide";
        for (const double seconds : {fold.low + 0.5, (fold.low + fold.high) / 2}) {
            const std::vector<EffectPassSnapshot> drawn = DrawAt(seconds);
            // This line's four pieces: other lines may be drawn before or after it.
            const auto first = std::find_if(drawn.begin(), drawn.end(), [&](const EffectPassSnapshot& piece) {
                return piece.Floats("SCROLLCLIP")[0] == p1.x;
            });
            ASSERT_LE(first + 4, drawn.end());
            std::vector<std::vector<float>> worlds;
            for (auto piece = first; piece != first + 4; ++piece)
                worlds.push_back(piece->Floats("LOCAL"));
            // Where the unfolded line's point at distance d before P1 (towards -x) lies in the mesh.
            const float slid = static_cast<float>(-0.2 * seconds);
            const auto along = [&](float d) { return D3DXVECTOR3{p1.x - d - slid, 0.0f, 0.0f}; };
            const std::string at = "line " + std::to_string(line + 1) + " at " + std::to_string(seconds);
            EXPECT_LT(Distance(Transformed(worlds[0], along(0)), p1), 1e-4f) << at;
            EXPECT_LT(Distance(Transformed(worlds[1], along(0)), p1), 1e-4f) << at;
            EXPECT_LT(Distance(Transformed(worlds[1], along(side)), p2), 0.01f) << at;
            EXPECT_LT(Distance(Transformed(worlds[2], along(side)), p2), 0.01f) << at;
            EXPECT_LT(Distance(Transformed(worlds[2], along(2 * side)), p3), 0.02f) << at;
            EXPECT_LT(Distance(Transformed(worlds[3], along(2 * side)), p3), 0.02f) << at;
            const D3DXVECTOR3 beyond = Transformed(worlds[3], along(2 * side + 1));
            const D3DXVECTOR3 corner = Transformed(worlds[3], along(2 * side));
            EXPECT_NEAR(beyond.x - corner.x, -1.0f, 1e-4f) << at << ": the last piece runs on as the first";
            EXPECT_NEAR(beyond.z - corner.z, 0.0f, 1e-4f) << at;
        }
    }
}

TEST_F(ScrollerTest, AReleasedScrollerRefusesToDraw)
{
    scroller.Release();
    Timer::SetFrameClock(40.0, Timer::GetDelta());
    EXPECT_EQ(FrameworkFailure([&] { scroller.Draw(); }), "[Scroller::DrawLines] The module is not loaded");
    scroller.Load();
}
