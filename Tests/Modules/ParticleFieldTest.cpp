// The particle field on the Recorder: the sprites' looks and colours, one step through the flow
// field, bursts from the spot lights in turn, which particles are drawn, and the back-to-front
// order written into the index buffer.
#include "Modules/PostEffectsFiles.h"
#include "Support/DXEffectFixture.h"
#include "Support/FrameworkFailure.h"

#include "Framework/Noise/CrtRand.h"
#include "Framework/Scene/SpotLight.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Framework/Timer/Timer.h"
#include "Modules/ParticleField/ParticleField.h"
#include "sync/trackfile.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <regex>

namespace {

constexpr float Force = 2.5f;
constexpr uint32_t Seed = 99;

const std::string SpriteEffect = R"(
float4x4 WorldViewProj : LOCALVIEWPROJ;
glsl vertex V(vec3 Centre : POSITION0, vec3 Corner : NORMAL0) {
    void main() { gl_Position = vec4(Centre + Corner, 1.0) * WorldViewProj; }
}
glsl fragment F(vec4 Color : COLOR0) { void main() { Color = vec4(1.0); } }
technique Particle { pass P0 { VertexShader = V; PixelShader = F; } }
)";

void ExpectNear(const D3DXVECTOR3& actual, const D3DXVECTOR3& expected, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

std::vector<uint32_t> QuadIndices(uint32_t particle)
{
    const uint32_t j = particle * 4;
    return {j, j + 1, j + 2, j, j + 2, j + 3};
}

} // namespace

class ParticleFieldTest : public DXEffectFixture {
protected:
    void SetUp() override
    {
        DXEffectFixture::SetUp();
        ArchiveEntries entries = StillCameraTracks();
        entries["Data\\sync_Particles_FieldForce.track"] = EncodeTrackRecords({{0, Force, 0}});
        entries["OShaders\\sprites.fxo"] = CompileEffect(SpriteEffect);
        Start(entries);
        // Three lights: one unturned, one turned a quarter about y (its -z axis points along -x),
        // one turned about x.
        const float quarter = std::numbers::pi_v<float> / 2;
        lights[0] = std::make_unique<SpotLight>("e0", D3DXVECTOR4{1, 1, 1, 1}, D3DXVECTOR3{1, 2, 3}, 2.0f, false, 0.5f,
                                                0.0f, D3DXVECTOR3{0, 0, 0});
        lights[1] = std::make_unique<SpotLight>("e1", D3DXVECTOR4{1, 1, 1, 1}, D3DXVECTOR3{-4, 0, 1}, 0.5f, false, 1.0f,
                                                0.0f, D3DXVECTOR3{0, quarter, 0});
        lights[2] = std::make_unique<SpotLight>("e2", D3DXVECTOR4{1, 1, 1, 1}, D3DXVECTOR3{0, 5, 0}, 1.0f, false, 0.2f,
                                                0.0f, D3DXVECTOR3{0.7f, 0, 0});
        field = std::make_unique<ParticleField>("ParticleField");
        CrtRand::srand(Seed);
        field->Load();
    }

    void TearDown() override
    {
        field.reset();
        DXEffectFixture::TearDown();
    }

    void Step(double t, float dt)
    {
        Timer::SetFrameClock(t, dt);
        field->UpdateParticles(*lights[0], *lights[1], *lights[2]);
    }

    // Particles placed by the test, still unless given velocities.
    void Place(const std::vector<D3DXVECTOR3>& positions)
    {
        field->count = static_cast<int32_t>(positions.size());
        for (size_t i = 0; i < positions.size(); ++i) {
            field->positions[i] = positions[i];
            field->velocities[i] = {};
        }
    }

    // A current scene whose active camera has that camera-to-world matrix.
    void CurrentCamera(const D3DXMATRIX& world)
    {
        auto scene = std::make_unique<Scene>("Test");
        auto camera = std::make_unique<Camera>("Eye");
        camera->world = world;
        scene->cameraSet.Add(std::move(camera));
        SceneHandler::Instance()->AddScene(std::move(scene));
    }

    std::array<std::unique_ptr<SpotLight>, 3> lights;
    std::unique_ptr<ParticleField> field;
};

TEST_F(ParticleFieldTest, LoadMakesSmallGreySpritesEachWithItsOwnTextureWindowAndAnEmptyField)
{
    const std::vector<float> texCoords = BufferValues<float>(*field->sprites->texCoordBuffer);
    const std::vector<D3DCOLOR> colours = BufferValues<D3DCOLOR>(*field->sprites->colourBuffer);
    const std::vector<float> corners = BufferValues<float>(*field->sprites->normalBuffer);
    ASSERT_EQ(colours.size(), 4u * 7000);
    EXPECT_EQ(field->sprites->ringSize, 3);
    // 1.0, 0.9, 0.8, 0.6, 0.5, 0.4 rounded to bytes, alpha 0.
    const D3DCOLOR greys[6] = {0x00FFFFFF, 0x00E6E6E6, 0x00CCCCCC, 0x00999999, 0x00808080, 0x00666666};
    CrtRand::srand(Seed);
    for (size_t sprite = 0; sprite < 7000; ++sprite) {
        const float u = CrtRand::rand() * 2.1362956e-5f;
        const float v = CrtRand::rand() * 2.1362956e-5f;
        ASSERT_EQ(std::vector<float>(texCoords.begin() + 8 * sprite, texCoords.begin() + 8 * sprite + 8),
                  (std::vector<float>{u, v, u + 0.3f, v, u + 0.3f, v + 0.3f, u, v + 0.3f}))
            << sprite;
        for (size_t corner = 0; corner < 4; ++corner)
            ASSERT_EQ(colours[4 * sprite + corner], greys[sprite % 6]) << sprite;
    }
    EXPECT_EQ(std::vector<float>(corners.begin(), corners.begin() + 12),
              (std::vector<float>{-0.2f, 0.2f, 0, 0.2f, 0.2f, 0, 0.2f, -0.2f, 0, -0.2f, -0.2f, 0}));
    EXPECT_EQ(field->count, 0);
    EXPECT_EQ(field->drawCount, 0);
}

TEST_F(ParticleFieldTest, ResetEmptiesTheFieldKeepsTheBurstClockAndPacksColoursClampedAndRounded)
{
    Step(1.0, 0.03f);
    Step(1.03, 0.03f);
    Step(1.06, 0.03f);
    ASSERT_EQ(field->count, 180);
    CurrentCamera(IdentityMatrix());
    field->SortParticles();
    field->spawnTimer = 0.01f;
    field->emitterCursor = 2;

    ParticleColours colours{};
    colours[0] = {0.5f, 1.2f, -0.1f, 1.0f};
    colours[5] = {0.0f, 0.0f, 1.0f, std::nanf("")};
    field->ResetParticles(colours);
    EXPECT_EQ(field->count, 0);
    EXPECT_EQ(field->drawCount, 0);
    EXPECT_EQ(field->countHistory, (std::array<int32_t, 3>{0, 0, 0}));
    for (int i = 0; i < 180; ++i)
        ASSERT_EQ(field->sortOrder[i], i);
    EXPECT_EQ(field->spawnTimer, 0.01f);
    EXPECT_EQ(field->emitterCursor, 2);
    const std::vector<D3DCOLOR> packed = BufferValues<D3DCOLOR>(*field->sprites->colourBuffer);
    EXPECT_EQ(packed[0], 0xFF80FF00u);
    EXPECT_EQ(packed[4 * 6 + 3], 0xFF80FF00u) << "particle 6 takes the first colour again";
    EXPECT_EQ(packed[4 * 5], 0x000000FFu) << "NaN is no colour at all";
}

TEST_F(ParticleFieldTest, AStepMovesDampsAndPushesEachParticleByTheSwirledFieldAndAnotherBringsNothing)
{
    const D3DXVECTOR3 start[2] = {{1.5f, -2.0f, 3.0f}, {-12.0f, 0.3f, 0.0f}};
    const D3DXVECTOR3 speed[2] = {{1.0f, 0.5f, -0.25f}, {0.0f, 0.0f, 2.0f}};
    Place({start[0], start[1]});
    field->velocities[0] = speed[0];
    field->velocities[1] = speed[1];
    field->spawnTimer = 0.0f;
    const double t = 3.7;
    const float dt = 0.015f;
    Step(t, dt);

    const double angle = t + std::sin(t + 2 * std::cos(t));
    const float c = float(std::cos(angle)), s = float(std::sin(angle));
    for (int i = 0; i < 2; ++i) {
        const D3DXVECTOR3 p{start[i].x + speed[i].x * dt, start[i].y + speed[i].y * dt, start[i].z + speed[i].z * dt};
        const D3DXVECTOR3 f = field->flowField.Sample(p);
        const D3DXVECTOR3 b = field->flowField.Sample({p.x * c - p.y * s, p.x * s + p.y * c, p.z});
        const D3DXVECTOR3 a = field->flowField.Sample({p.z * c - p.y * s, p.z * s + p.y * c, p.x});
        const float damping = 1 - dt * 1.29f, h = dt * Force;
        ExpectNear(field->positions[i], p, 0.0f);
        ExpectNear(field->velocities[i], {speed[i].x * damping + h * (0.8f * f.x + 0.2f * b.x + 0.2f * a.x),
                                          speed[i].y * damping + h * (0.8f * f.y + 0.2f * b.y + 0.2f * a.y),
                                          speed[i].z * damping + h * (0.8f * f.z + 0.2f * b.z + 0.2f * a.z)});
    }
    // The centres go into the ring's next buffer; 15 ms is not yet time for a burst.
    EXPECT_EQ(field->sprites->current, 1);
    const std::vector<float> centres = BufferValues<float>(*field->sprites->positionBuffers[1]);
    EXPECT_EQ(std::vector<float>(centres.begin() + 12, centres.begin() + 15),
              (std::vector<float>{field->positions[1].x, field->positions[1].y, field->positions[1].z}));
    EXPECT_EQ(field->count, 2);

    // With no time passing nothing moves, nothing is pushed and the burst clock stands still.
    const std::vector<D3DXVECTOR3> positions(field->positions.begin(), field->positions.begin() + 2);
    const std::vector<D3DXVECTOR3> velocities(field->velocities.begin(), field->velocities.begin() + 2);
    Step(t + 1, 0.0f);
    for (int i = 0; i < 2; ++i) {
        ExpectNear(field->positions[i], positions[i], 0.0f);
        ExpectNear(field->velocities[i], velocities[i], 0.0f);
    }
    EXPECT_EQ(field->spawnTimer, 0.015f);
    EXPECT_EQ(field->count, 2);
}

TEST_F(ParticleFieldTest, ABurstComesOnlyAfterMoreThan20MsAndTheLightsTakeTurnsUntilTheFieldIsFull)
{
    field->spawnTimer = 0.0f;
    Step(1.0, 0.02f);
    EXPECT_EQ(field->count, 0) << "exactly 20 ms is not more than 20 ms";
    const uint32_t state = CrtRand::State();
    Step(1.02, 0.0001f);
    ASSERT_EQ(field->count, 60);
    EXPECT_EQ(field->spawnTimer, 0.0f);
    EXPECT_EQ(field->emitterCursor, 0);

    CrtRand::srand(state);
    for (int i = 0; i < 60; ++i) {
        const SpotLight& light = *lights[i % 3];
        const float d = CrtRand::rand() * 9.155553e-6f + 0.2f;
        const float ry = CrtRand::rand() * 6.103702e-5f - 1;
        const float spread = d * light.coneAngle + 0.09f;
        const float rx = CrtRand::rand() * 6.103702e-5f - 1;
        const D3DXVECTOR3 local{spread * rx, spread * ry, -d};
        // The lights' frames: e0 unturned; e1 a quarter about y, (x, y, z) -> (z, y, -x); e2 by
        // 0.7 about x, (x, y, z) -> (x, y cos - z sin, y sin + z cos).
        const float c = std::cos(0.7f), s = std::sin(0.7f);
        const D3DXVECTOR3 offset = i % 3 == 0   ? local
                                   : i % 3 == 1 ? D3DXVECTOR3{local.z, local.y, -local.x}
                                                : D3DXVECTOR3{local.x, local.y * c - local.z * s, local.y * s + local.z * c};
        SCOPED_TRACE(i);
        ExpectNear(field->positions[i], {light.position.x + offset.x, light.position.y + offset.y, light.position.z + offset.z});
        ExpectNear(field->velocities[i], {light.radius * offset.x, light.radius * offset.y, light.radius * offset.z});
    }

    // Ten places left: a burst fills them and stops, and the lights' turn has moved on by ten.
    field->count = 6990;
    field->emitterCursor = 1;
    field->spawnTimer = 0.05f;
    Step(1.1, 0.0f);
    EXPECT_EQ(field->count, 7000);
    EXPECT_EQ(field->emitterCursor, 2);
    Step(1.2, 0.03f);
    EXPECT_EQ(field->count, 7000);
    EXPECT_FLOAT_EQ(field->spawnTimer, 0.03f) << "a full field waits without a burst";
}

TEST_F(ParticleFieldTest, OnlyParticlesInTheLastThreeUpdatesCountsAreDrawn)
{
    DXEffectHandler::Instance()->AddEffect("sprites", "sprites.fx", framework->effectPool);
    DXEffectHandler::SetActiveEffect("sprites");
    CurrentCamera(IdentityMatrix());
    // A burst every step, after the count is recorded.
    const int32_t expected[5] = {0, 0, 0, 60, 120};
    for (int frame = 0; frame < 5; ++frame) {
        Step(2.0 + frame * 0.03, 0.03f);
        field->SortParticles();
        ASSERT_EQ(field->drawCount, expected[frame]) << frame;
    }
    EXPECT_EQ(field->count, 300);
    // Of the 300 sorted, the index buffer names only the 120 with centres in both buffers.
    const std::vector<uint32_t> indices = BufferValues<uint32_t>(*field->sprites->indexBuffer);
    EXPECT_LT(*std::max_element(indices.begin(), indices.begin() + 6 * 120), 4u * 120);
    const size_t first = recorder->Count(Op::DrawIndexedPrimitive);
    DXFramework::device->BeginScene();
    field->Draw();
    DXFramework::device->EndScene();
    ASSERT_EQ(recorder->Count(Op::DrawIndexedPrimitive), first + 1);
    EXPECT_EQ(recorder->Call<Op::DrawIndexedPrimitive>(first).primCount, 240u);
    EXPECT_EQ(draws.Draw(first).technique, "Particle");
}

TEST_F(ParticleFieldTest, SortingWritesTheDrawnParticlesBackToFrontAlongTheCamerasAxis)
{
    EXPECT_EQ(FrameworkFailure([&] { field->SortParticles(); }),
              "[ParticleField::SortParticles] No current scene with an active camera");
    // The camera's z axis is world y: it looks down, so the lowest particle is the farthest.
    D3DXMATRIX world = IdentityMatrix();
    world.m[2][0] = 0;
    world.m[2][1] = 1;
    world.m[2][2] = 0;
    CurrentCamera(world);
    const float nan = std::nanf("");
    Place({{0, 3, 0}, {9, 1, -9}, {0, nan, 0}, {5, 1, 5}, {0, -2, 0}, {0, 7, 0}, {0, -1, 0}, {0, -3, 0}});
    field->drawCount = 6; // particles 6 and 7 have no centres in the previous buffer yet
    field->SortParticles();

    // Equal depths by index, a lost (NaN) particle last, and the undrawn ones left out.
    EXPECT_EQ(std::vector<int32_t>(field->sortOrder.begin(), field->sortOrder.begin() + 8),
              (std::vector<int32_t>{7, 4, 6, 1, 3, 0, 5, 2}));
    const std::vector<uint32_t> indices = BufferValues<uint32_t>(*field->sprites->indexBuffer);
    const uint32_t drawn[6] = {4, 1, 3, 0, 5, 2};
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(std::vector<uint32_t>(indices.begin() + 6 * i, indices.begin() + 6 * i + 6), QuadIndices(drawn[i])) << i;
}

TEST_F(ParticleFieldTest, ARefusedIndexLockNamesThisSourceAndAnUnloadedFieldRefusesEverything)
{
    CurrentCamera(IdentityMatrix());
    recorder->FailCall(Op::LockIndexBuffer, recorder->Count(Op::LockIndexBuffer), D3DERR_INVALIDCALL);
    const std::string message = FrameworkFailure([&] { field->SortParticles(); });
    const std::regex expected(R"(Error: D3DERR_INVALIDCALL\n\n)"
                              R"(\.\\Source\\Modules\\ParticleField\\ParticleField\.cpp : \d+)");
    EXPECT_TRUE(std::regex_match(message, expected)) << message;

    field->Release();
    EXPECT_EQ(FrameworkFailure([&] { Step(1.0, 0.1f); }), "[ParticleField::UpdateParticles] The module is not loaded");
    EXPECT_EQ(FrameworkFailure([&] { field->SortParticles(); }), "[ParticleField::SortParticles] The module is not loaded");
    EXPECT_EQ(FrameworkFailure([&] { field->ResetParticles(ParticleField::Greys); }),
              "[ParticleField::ResetParticles] The module is not loaded");
    EXPECT_EQ(FrameworkFailure([&] { field->Draw(); }), "[ParticleField::Draw] The module is not loaded");
}
