// Render objects: the base class's matrices and animation, the quad batch's buffers, index and
// ring, and the sprites' corner offsets and centres, on the Recorder.
#include "Support/DXEffectFixture.h"
#include "Support/FrameworkFailure.h"

#include "Framework/RenderClasses/Quads/Quads.h"
#include "Framework/RenderClasses/Sprites/Sprites.h"
#include "Framework/Scene/CurveFile.h"

#include <cstring>
#include <regex>

class RenderObjectsTest : public DXEffectFixture {
protected:
    void SetUp() override
    {
        DXEffectFixture::SetUp();
        // The node moves along x at 60 units per second.
        Start({{"Data\\anim\\lamp.translateX", EncodeCurveKeys({{0, 0, 60, 60}, {1, 60, 60, 60}})}});
    }

    // The buffer bound to a stream at the index-th draw.
    const IDirect3DVertexBuffer9* Stream(size_t draw, int stream) const
    {
        return recorder->Bound(Op::DrawIndexedPrimitive, draw).streams[stream].buffer;
    }
};

TEST_F(RenderObjectsTest, TheBaseClassRefusesToDrawAndNeedsANameForAnAnimation)
{
    BASERENDEROBJECT plain("ignored", 0);
    EXPECT_EQ(plain.nodeAnimation, nullptr);
    EXPECT_EQ(FrameworkFailure([&] { plain.Draw(); }), "[BASERENDEROBJECT] Virtual Draw method not implemented");
    plain.UpdateAnimation(5.0f);
    EXPECT_EQ(plain.worldMatrix, IdentityMatrix());
    EXPECT_EQ(plain.previousWorldMatrix, IdentityMatrix());

    EXPECT_EQ(FrameworkFailure([] { BASERENDEROBJECT unnamed("", NodeAnim::Translate); }),
              "[DXMesh::BASERENDEROBJECT] Missing animation file name");
}

TEST_F(RenderObjectsTest, AnAnimatedObjectTakesBothMatricesFromItsAnimation)
{
    BASERENDEROBJECT lamp("lamp", NodeAnim::Translate | NodeAnim::PreviousFrame);
    ASSERT_NE(lamp.nodeAnimation, nullptr);
    lamp.UpdateAnimation(0.5f);
    EXPECT_NEAR(lamp.worldMatrix(3, 0), 30.0f, 1e-4);
    EXPECT_NEAR(lamp.previousWorldMatrix(3, 0), 30.0f - 1.0f, 1e-4);
    EXPECT_EQ(lamp.worldMatrix(0, 0), 1.0f);
    // Missing curves of the other axes evaluate to 0.
    EXPECT_EQ(lamp.worldMatrix(3, 1), 0.0f);
}

TEST_F(RenderObjectsTest, QuadsCreateEveryBufferAtOnceWithTheFixedData)
{
    const size_t declarations = recorder->Count(Op::CreateVertexDeclaration);
    const size_t vertexBuffers = recorder->Count(Op::CreateVertexBuffer);
    const size_t indexBuffers = recorder->Count(Op::CreateIndexBuffer);
    Quads quads("", 3, 2);

    ASSERT_EQ(recorder->Count(Op::CreateVertexDeclaration), declarations + 1);
    const auto& layout = recorder->Call<Op::CreateVertexDeclaration>(declarations);
    for (size_t i = 0; i < QuadVertexLayout.size(); ++i) {
        EXPECT_EQ(layout.pVertexElements[i].Stream, QuadVertexLayout[i].Stream);
        EXPECT_EQ(layout.pVertexElements[i].Usage, QuadVertexLayout[i].Usage);
        EXPECT_EQ(layout.pVertexElements[i].UsageIndex, QuadVertexLayout[i].UsageIndex);
        EXPECT_EQ(layout.pVertexElements[i].Type, QuadVertexLayout[i].Type);
    }
    // Two position buffers, then texture coordinates, normals and colours, 3 quads each.
    ASSERT_EQ(recorder->Count(Op::CreateVertexBuffer), vertexBuffers + 5);
    const UINT lengths[] = {144, 144, 96, 144, 48};
    for (size_t i = 0; i < 5; ++i) {
        const auto& created = recorder->Call<Op::CreateVertexBuffer>(vertexBuffers + i);
        EXPECT_EQ(created.Length, lengths[i]) << "vertex buffer " << i;
        EXPECT_EQ(created.Usage, DWORD(0x208));
        EXPECT_EQ(created.Pool, D3DPOOL_DEFAULT);
    }
    ASSERT_EQ(recorder->Count(Op::CreateIndexBuffer), indexBuffers + 1);
    const auto& index = recorder->Call<Op::CreateIndexBuffer>(indexBuffers);
    EXPECT_EQ(index.Length, 72u);
    EXPECT_EQ(index.Format, D3DFMT_INDEX32);

    EXPECT_EQ(BufferValues<uint32_t>(*quads.indexBuffer),
              (std::vector<uint32_t>{0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7, 8, 9, 10, 8, 10, 11}));
    EXPECT_EQ(BufferValues<uint32_t>(*quads.colourBuffer), std::vector<uint32_t>(12, 0xFFFFFFFFu));
    const std::vector<float> corners = {0, 0, 1, 0, 1, 1, 0, 1};
    std::vector<float> texCoords;
    for (int quad = 0; quad < 3; ++quad)
        texCoords.insert(texCoords.end(), corners.begin(), corners.end());
    EXPECT_EQ(BufferValues<float>(*quads.texCoordBuffer), texCoords);
    EXPECT_EQ(quads.activeQuads, 0u);
    EXPECT_EQ(quads.current, 0);
}

TEST_F(RenderObjectsTest, QuadsDrawTheActiveQuadsWithThePreviousRingBufferAsPositionOne)
{
    Quads quads("", 8, 3);
    const size_t calls = recorder->Calls().size();
    DXFramework::device->BeginScene();
    quads.Draw();
    EXPECT_EQ(recorder->Calls().size(), calls + 1) << "nothing but BeginScene while no quad is active";

    quads.activeQuads = 5;
    const size_t first = recorder->Count(Op::DrawIndexedPrimitive);
    quads.Draw();
    quads.current = 2;
    quads.Draw();
    DXFramework::device->EndScene();

    const auto& draw = recorder->Call<Op::DrawIndexedPrimitive>(first);
    EXPECT_EQ(draw.PrimitiveType, D3DPT_TRIANGLELIST);
    EXPECT_EQ(draw.BaseVertexIndex, 0);
    EXPECT_EQ(draw.MinVertexIndex, 0u);
    EXPECT_EQ(draw.NumVertices, 20u);
    EXPECT_EQ(draw.startIndex, 0u);
    EXPECT_EQ(draw.primCount, 10u);
    const DeviceState& bound = recorder->Bound(Op::DrawIndexedPrimitive, first);
    EXPECT_EQ(bound.streams[0].buffer, quads.positionBuffers[0]);
    EXPECT_EQ(bound.streams[1].buffer, quads.normalBuffer);
    EXPECT_EQ(bound.streams[2].buffer, quads.colourBuffer);
    EXPECT_EQ(bound.streams[3].buffer, quads.texCoordBuffer);
    EXPECT_EQ(bound.streams[4].buffer, quads.positionBuffers[2]);
    const UINT strides[] = {12, 12, 4, 8, 12};
    for (int stream = 0; stream < 5; ++stream)
        EXPECT_EQ(bound.streams[stream].stride, strides[stream]) << "stream " << stream;
    EXPECT_EQ(bound.indices, quads.indexBuffer);
    EXPECT_EQ(bound.vertexDeclaration, quads.vertexDeclaration);

    EXPECT_EQ(Stream(first + 1, 0), quads.positionBuffers[2]);
    EXPECT_EQ(Stream(first + 1, 4), quads.positionBuffers[1]);
}

TEST_F(RenderObjectsTest, AdvancingTheRingKeepsLastFramesPositionsForPositionOne)
{
    Quads single("", 1, 1);
    EXPECT_EQ(single.PreviousIndex(), 0) << "a ring of one has no motion";
    single.AdvanceRing();
    EXPECT_EQ(single.current, 0);

    Quads quads("", 1, 2);
    D3DXVECTOR3* positions = nullptr;
    ASSERT_EQ(quads.LockPositions(&positions), D3D_OK);
    std::fill_n(positions, 4, D3DXVECTOR3{1, 2, 3});
    ASSERT_EQ(quads.UnlockPositions(), D3D_OK);
    quads.AdvanceRing();
    ASSERT_EQ(quads.LockPositions(&positions), D3D_OK);
    std::fill_n(positions, 4, D3DXVECTOR3{4, 5, 6});
    ASSERT_EQ(quads.UnlockPositions(), D3D_OK);
    EXPECT_EQ(BufferValues<float>(*quads.positionBuffers[quads.PreviousIndex()])[0], 1.0f);
    EXPECT_EQ(BufferValues<float>(*quads.positionBuffers[quads.current])[0], 4.0f);
}

TEST_F(RenderObjectsTest, ARefusedCreationNamesItsSourceAndLeavesNothingBehind)
{
    const size_t alive = recorder->LiveObjects().size();
    const size_t vertexBuffers = recorder->Count(Op::CreateVertexBuffer);
    recorder->FailCall(Op::CreateVertexBuffer, vertexBuffers + 2, D3DERR_OUTOFVIDEOMEMORY);
    const std::string message = FrameworkFailure([] { Quads quads("", 4, 2); });
    EXPECT_TRUE(std::regex_match(message, std::regex(R"(Error: D3DERR_OUTOFVIDEOMEMORY\n\n)"
                                                     R"(\.\\Source\\Framework\\RenderClasses\\Quads\\Quads\.cpp : \d+)")))
        << message;
    EXPECT_EQ(recorder->LiveObjects().size(), alive);

    EXPECT_EQ(FrameworkFailure([] { Quads empty("", 0, 1); }),
              "[Quads::Quads] A batch needs at least one quad and one position buffer (0 quads, ring of 1)");
}

TEST_F(RenderObjectsTest, SpritesWriteCornerOffsetsAroundTheirCentres)
{
    Sprites sprites("", 2, 2);
    const size_t locks = recorder->Count(Op::LockVertexBuffer);
    sprites.SetUniformSize(0.5f);
    EXPECT_EQ(recorder->Call<Op::LockVertexBuffer>(locks).Flags, DWORD(D3DLOCK_DISCARD));
    const std::vector<float> uniform = {-0.5f, 0.5f, 0, 0.5f, 0.5f, 0, 0.5f, -0.5f, 0, -0.5f, -0.5f, 0};
    std::vector<float> both = uniform;
    both.insert(both.end(), uniform.begin(), uniform.end());
    EXPECT_EQ(BufferValues<float>(*sprites.normalBuffer), both);

    const D3DXVECTOR2 sizes[] = {{1, 2}, {3, 4}};
    sprites.SetSizes(sizes);
    EXPECT_EQ(recorder->Call<Op::LockVertexBuffer>(locks + 1).Flags, DWORD(0));
    EXPECT_EQ(BufferValues<float>(*sprites.normalBuffer),
              (std::vector<float>{-1, 2, 0, 1, 2, 0, 1, -2, 0, -1, -2, 0, -3, 4, 0, 3, 4, 0, 3, -4, 0, -3, -4, 0}));

    sprites.AdvanceRing();
    const D3DXVECTOR3 centres[] = {{7, 8, 9}, {1, 1, 1}, {2, 2, 2}};
    EXPECT_EQ(sprites.SetCentres(centres, 3), E_FAIL);
    EXPECT_EQ(sprites.activeQuads, 0u);
    EXPECT_EQ(sprites.SetCentres(centres, 1), D3D_OK);
    EXPECT_EQ(sprites.activeQuads, 1u);
    const std::vector<float> positions = BufferValues<float>(*sprites.positionBuffers[1]);
    EXPECT_EQ(std::vector<float>(positions.begin(), positions.begin() + 12),
              (std::vector<float>{7, 8, 9, 7, 8, 9, 7, 8, 9, 7, 8, 9}));
}

TEST_F(RenderObjectsTest, AFailedCentreLockIsReturnedWithTheCountKept)
{
    Sprites sprites("", 4, 1);
    recorder->FailCall(Op::LockVertexBuffer, recorder->Count(Op::LockVertexBuffer), D3DERR_INVALIDCALL);
    const D3DXVECTOR3 centres[] = {{1, 2, 3}, {4, 5, 6}};
    EXPECT_EQ(sprites.SetCentres(centres, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(sprites.activeQuads, 2u);
}
