// The drifting-rectangle overlay: rectangles from the shared generator, how the tracks steer count,
// scale and replacement, and what reaches the sprite batch, on the Recorder.
#include "Support/DXEffectFixture.h"

#include "Framework/Noise/CrtRand.h"
#include "Framework/Timer/DemoSyncTimer.h"
#include "Framework/Timer/Timer.h"
#include "Modules/EasiestFilterEver/EasiestFilterEver.h"
#include "sync/trackfile.h"

#include <cstring>

namespace {

// Rows at which the tracks change (step keys), so that one archive serves every case.
constexpr uint32_t ManyRow = 0;   // 25.7 rectangles, scale (2, 1), a replacement every 0 s
constexpr uint32_t FewRow = 100;  // 3.9 rectangles, replacements every 1000 s
constexpr uint32_t NoneRow = 200; // -1 rectangles

std::vector<unsigned char> Track(const std::vector<TrackRecord>& records)
{
    return EncodeTrackRecords(records);
}

std::vector<float> Head(const std::vector<float>& values, size_t count)
{
    return std::vector<float>(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(count));
}

const std::string FilterEffect = R"(
float4x4 WorldViewProj : LOCALVIEWPROJ;
glsl vertex V(vec3 Centre : POSITION0, vec3 Corner : NORMAL0) {
    void main() { gl_Position = vec4(Centre + Corner, 1.0) * WorldViewProj; }
}
glsl fragment F(vec4 Color : COLOR0) { void main() { Color = vec4(1.0); } }
technique Default { pass P0 { VertexShader = V; PixelShader = F; } }
)";
} // namespace

class EasiestFilterEverTest : public DXEffectFixture {
protected:
    void SetUp() override
    {
        DXEffectFixture::SetUp();
        Start({{"Data\\sync_Filter_NumQuads.track", Track({{ManyRow, 25.7f, 0}, {FewRow, 3.9f, 0}, {NoneRow, -1.0f, 0}})},
               {"Data\\sync_Filter_XSize.track", Track({{ManyRow, 2.0f, 0}})},
               {"Data\\sync_Filter_YSize.track", Track({{ManyRow, 1.0f, 0}})},
               {"Data\\sync_Filter_Wildness.track", Track({{ManyRow, 0.0f, 0}, {FewRow, 1000.0f, 0}})},
               {"OShaders\\filter.fxo", CompileEffect(FilterEffect)}});
        CrtRand::srand(7);
        filter.Load();
    }

    void TearDown() override
    {
        filter.Release();
        DXEffectFixture::TearDown();
    }

    // One update at that row after a frame of dt seconds.
    void UpdateAt(uint32_t row, float dt)
    {
        Timer::SetFrameClock(row / SyncRowRate + 1e-6, dt);
        filter.Update();
    }

    EasiestFilterEver filter{"EasiestFilterEver"};
};

TEST_F(EasiestFilterEverTest, LoadFillsEveryRectangleFromSixDrawsInTheDocumentedOrder)
{
    CrtRand::srand(7);
    std::vector<int> draws;
    for (int i = 0; i < 6; ++i)
        draws.push_back(CrtRand::rand());
    const FilterRect& first = (*filter.rects)[0];
    EXPECT_FLOAT_EQ(first.position.x, (draws[1] * 6.103702e-5f - 1.0f) / 2.0f);
    EXPECT_FLOAT_EQ(first.position.y, (draws[0] * 6.103702e-5f - 1.0f) / 2.0f);
    EXPECT_EQ(first.position.z, 0.0f);
    EXPECT_FLOAT_EQ(first.velocity.x, (draws[3] * 6.103702e-5f - 1.0f) / 2.0f);
    EXPECT_FLOAT_EQ(first.velocity.y, (draws[2] * 6.103702e-5f - 1.0f) / 2.0f);
    EXPECT_FLOAT_EQ(first.halfSize.x, draws[5] * 9.155553e-6f + 0.1f);
    EXPECT_FLOAT_EQ(first.halfSize.y, draws[4] * 9.155553e-6f + 0.1f);
    for (const FilterRect& rect : *filter.rects) {
        EXPECT_LE(std::abs(rect.position.x), 0.5f);
        EXPECT_GE(rect.halfSize.x, 0.1f);
        EXPECT_LE(rect.halfSize.y, 0.4f);
    }
    EXPECT_EQ(filter.sprites->spriteCount, 20u);
    EXPECT_EQ(filter.sprites->ringSize, 2);
}

TEST_F(EasiestFilterEverTest, TheCountTrackIsClampedThenTruncated)
{
    UpdateAt(ManyRow, 0.0f);
    EXPECT_EQ(filter.sprites->activeQuads, 20u);
    UpdateAt(FewRow, 0.0f);
    EXPECT_EQ(filter.sprites->activeQuads, 3u);
    UpdateAt(NoneRow, 0.0f);
    EXPECT_EQ(filter.sprites->activeQuads, 0u);
}

TEST_F(EasiestFilterEverTest, CentresAndSizesAreScaledFromThePositionBeforeTheStep)
{
    FilterRect& rect = (*filter.rects)[0];
    rect.position = {0.25f, -0.5f, 0.0f};
    rect.velocity = {1.0f, 2.0f, 0.0f};
    rect.halfSize = {0.2f, 0.1f};
    filter.respawnCursor = 5; // keep the replacement away from the rectangle under test
    UpdateAt(ManyRow, 0.5f);

    Sprites& sprites = *filter.sprites;
    EXPECT_EQ(sprites.current, 1) << "the ring moves on before the centres are written";
    EXPECT_EQ(Head(BufferValues<float>(*sprites.positionBuffers[1]), 3), (std::vector<float>{0.5f, -0.5f, 0.0f}));
    EXPECT_EQ(Head(BufferValues<float>(*sprites.normalBuffer), 12),
              (std::vector<float>{-0.4f, 0.1f, 0, 0.4f, 0.1f, 0, 0.4f, -0.1f, 0, -0.4f, -0.1f, 0}));
    EXPECT_FLOAT_EQ(rect.position.x, 0.75f);
    EXPECT_FLOAT_EQ(rect.position.y, 0.5f);
}

TEST_F(EasiestFilterEverTest, OneRectangleIsReplacedWhenTheTimerPassesTheWildness)
{
    const std::array<FilterRect, 20> before = *filter.rects;
    UpdateAt(ManyRow, 0.0f);
    EXPECT_EQ(filter.respawnCursor, 0) << "with no time passed the timer does not exceed 0";
    UpdateAt(ManyRow, 0.01f);
    UpdateAt(ManyRow, 0.01f);
    EXPECT_EQ(filter.respawnCursor, 2);
    EXPECT_EQ(filter.respawnTimer, 0.0f);
    EXPECT_NE(std::memcmp(&(*filter.rects)[0].halfSize, &before[0].halfSize, sizeof(D3DXVECTOR2)), 0);
    EXPECT_EQ(std::memcmp(&(*filter.rects)[2].halfSize, &before[2].halfSize, sizeof(D3DXVECTOR2)), 0);

    UpdateAt(FewRow, 0.5f);
    EXPECT_EQ(filter.respawnCursor, 2);
    EXPECT_FLOAT_EQ(filter.respawnTimer, 0.5f);
}

TEST_F(EasiestFilterEverTest, DrawDrawsTheActiveRectanglesWithTheActiveEffect)
{
    DXEffectHandler::Instance()->AddEffect("filter", "filter.fx", framework->effectPool);
    DXEffectHandler::SetActiveEffect("filter");
    UpdateAt(FewRow, 0.0f);
    const size_t first = recorder->Count(Op::DrawIndexedPrimitive);
    DXFramework::device->BeginScene();
    filter.Draw();
    DXFramework::device->EndScene();
    ASSERT_EQ(recorder->Count(Op::DrawIndexedPrimitive), first + 1);
    EXPECT_EQ(recorder->Call<Op::DrawIndexedPrimitive>(first).primCount, 6u);
    EXPECT_EQ(draws.Draw(first).technique, "Default");
}
