// The box scene's particle dance: the neighbour grid on its own, then the module on the Recorder:
// the swarm and the sprites' looks from the shared generator, one step of motion, separation and
// walls, and the depth order written into the index buffer.
#include "Support/DXEffectFixture.h"
#include "Support/FrameworkFailure.h"

#include "Framework/Noise/CrtRand.h"
#include "Framework/Timer/DemoSyncTimer.h"
#include "Framework/Timer/Timer.h"
#include "Modules/ParticleDance/NeighbourGrid.h"
#include "Modules/ParticleDance/ParticleDance.h"
#include "Modules/ParticleDance/detail/Attractor.h"
#include "sync/device.h"
#include "sync/trackfile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <regex>

namespace {

// NeighbourGrid: cells of 0.3 from -6, 40 a side, x fastest.

TEST(NeighbourGridTest, CellsCountFromTheOriginXFastestAndClampAtTheGridsEnds)
{
    constexpr float inf = std::numeric_limits<float>::infinity();
    // (0.05 + 6) / 0.3 = 20.2, (-5.85 + 6) / 0.3 = 0.5, (0.7 + 6) / 0.3 = 22.3
    const int inside = NeighbourGrid::CellOf({0.05f, -5.85f, 0.7f});
    EXPECT_EQ(inside, 20 + 40 * (0 + 40 * 22));
    EXPECT_EQ(NeighbourGrid::CellOf({5.9f, -6.0f, -6.0f}), 39);
    EXPECT_EQ(NeighbourGrid::CellOf({-100.0f, -6.5f, -7.0f}), 0);
    EXPECT_EQ(NeighbourGrid::CellOf({6.0f, 6.0f, 6.0f}), 63999) << "e = 12 is moved to 39.9 cells";
    EXPECT_EQ(NeighbourGrid::CellOf({1e30f, inf, 5.99f}), 63999);
    EXPECT_EQ(NeighbourGrid::CellOf({std::nanf(""), -inf, -6.0f}), 0);

    EXPECT_EQ(NeighbourGrid::Neighbour(inside, -1, 1, -1), inside - 1 + 40 - 1600);
    EXPECT_EQ(NeighbourGrid::Neighbour(39, 1, 0, 0), 40) << "no axis wraps on its own";
    EXPECT_EQ(NeighbourGrid::Neighbour(0, -1, -1, -1), 0);
    EXPECT_EQ(NeighbourGrid::Neighbour(63999, 1, 1, 1), 63999);
}

TEST(NeighbourGridTest, ACellListsItsFirst500ParticlesInOrderUntilTheNextFill)
{
    NeighbourGrid grid(2500);
    std::vector<int32_t> cells(600, 9);
    cells[1] = 10;
    grid.Fill(cells);
    const std::span<const uint16_t> full = grid.Particles(9);
    ASSERT_EQ(full.size(), 500u);
    EXPECT_EQ(full[0], 0);
    EXPECT_EQ(full[1], 2);
    EXPECT_EQ(full[499], 500);
    ASSERT_EQ(grid.Particles(10).size(), 1u);
    EXPECT_EQ(grid.Particles(10)[0], 1);
    const std::span<const uint16_t> row = grid.Particles(8, 10);
    ASSERT_EQ(row.size(), 501u) << "a row of cells is their lists one after the other";
    EXPECT_EQ(row.back(), 1);

    const std::vector<int32_t> next = {10};
    grid.Fill(next);
    EXPECT_TRUE(grid.Particles(9).empty());
    EXPECT_EQ(grid.Particles(10).size(), 1u);
}

TEST(NeighbourGridTest, FillRefusesWhatWouldReachOutsideItsArraysAndKeepsWhatItHeld)
{
    NeighbourGrid grid(2);
    const std::vector<int32_t> good = {3}, three = {0, 1, 2}, outside = {4, 64000};
    grid.Fill(good);
    EXPECT_EQ(FrameworkFailure([&] { grid.Fill(three); }), "[NeighbourGrid::Fill] 3 particles in a grid made for 2");
    EXPECT_EQ(FrameworkFailure([&] { grid.Fill(outside); }),
              "[NeighbourGrid::Fill] Particle 1 is in cell 64000, outside the grid's 64000");
    EXPECT_TRUE(grid.Particles(4).empty());
    EXPECT_EQ(grid.Particles(3).size(), 1u);
}

// The module.

constexpr uint32_t FieldRow = 0;       // force 2, dieoff 0.5 (k = 0.05), gravity 1.5
constexpr uint32_t NoForceRow = 100;   // force 0
constexpr float Force = 2.0f, Dieoff = 0.05f, Gravity = 1.5f;
constexpr uint32_t Seed = 2024;

uint32_t Byte(float c)
{
    return c >= 1.0f ? 255u : c <= 0.0f ? 0u : static_cast<uint32_t>(c * 255.0f + 0.5f);
}

// From white to blue over [0, 1), from blue to black over [1, 2].
D3DCOLOR ExpectedColour(int r)
{
    const float x = r * 6.103702e-5f;
    const float red = x < 1.0f ? 1.0f - x : 0.0f;
    const float blue = x < 1.0f ? 1.0f : 1.0f - (x - 1.0f);
    return 0xCC000000u | Byte(red) << 16 | Byte(red) << 8 | Byte(blue);
}

D3DXVECTOR3 ExpectedAttractor(double t)
{
    const double p[3] = {4.5 * (std::sin(t) + std::sin(2.3223 * t)), 4.5 * std::cos(1.33 * t),
                         4.5 * std::sin(t) * std::cos(2 * t)};
    const double q[3] = {3.5 * (std::cos(1.3223 * t) + std::sin(1.32345 * t)), 3.5 * std::cos(2.33 * t),
                         3.5 * std::sin(1.323 * t) * std::cos(0.55 * t)};
    const double d = std::hypot(p[0] - q[0], p[1] - q[1], p[2] - q[2]);
    const double push = d < 3.0 ? (3.0 - d) / d * 0.5 : 0.0;
    return {float(p[0] + (p[0] - q[0]) * push), float(p[1] + (p[1] - q[1]) * push),
            float(p[2] + (p[2] - q[2]) * push)};
}

void ExpectNear(const D3DXVECTOR3& actual, const D3DXVECTOR3& expected, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

D3DXVECTOR3 Add(const D3DXVECTOR3& a, const D3DXVECTOR3& b, float scale)
{
    return {a.x + b.x * scale, a.y + b.y * scale, a.z + b.z * scale};
}

} // namespace

class ParticleDanceTest : public DXEffectFixture {
protected:
    void SetUp() override
    {
        DXEffectFixture::SetUp();
        Start({{"Data\\sync_Box_force.track", EncodeTrackRecords({{FieldRow, Force, 0}, {NoForceRow, 0.0f, 0}})},
               {"Data\\sync_Box_dieoff.track", EncodeTrackRecords({{FieldRow, Dieoff * 10.0f, 0}})},
               {"Data\\sync_Box_gravitation.track", EncodeTrackRecords({{FieldRow, Gravity, 0}})}});
        CrtRand::srand(Seed);
        dance = std::make_unique<ParticleDance>("ParticleDance");
        dance->Load();
    }

    void TearDown() override
    {
        dance.reset();
        DXEffectFixture::TearDown();
    }

    void UpdateAt(double t, float dt)
    {
        Timer::SetFrameClock(t, dt);
        dance->Update();
    }

    // Every particle still, on a lattice 0.5 apart in [-4.75, 1.75], out of each other's reach
    // and of the corner where a test puts its own.
    void SpreadOut()
    {
        for (int i = 0; i < ParticleDance::count; ++i) {
            dance->positions[i] = {-4.75f + 0.5f * (i % 14), -4.75f + 0.5f * (i / 14 % 14), -4.75f + 0.5f * (i / 196)};
            dance->velocities[i] = {};
        }
    }

    std::unique_ptr<ParticleDance> dance;
};

TEST_F(ParticleDanceTest, ConstructionFetchesTheTracksAndScattersTheSwarmFromTheGenerator)
{
    const SyncTrackList& tracks = dynamic_cast<SyncFilePlayer&>(*framework->syncDevice).tracks;
    EXPECT_LT(tracks.getTrackIndex("Box_force"), tracks.getTrackIndex("Box_dieoff"));
    EXPECT_LT(tracks.getTrackIndex("Box_dieoff"), tracks.getTrackIndex("Box_gravitation"));

    CrtRand::srand(Seed);
    for (int i = 0; i < ParticleDance::count; ++i) {
        const int r1 = CrtRand::rand(), r2 = CrtRand::rand(), r3 = CrtRand::rand();
        ASSERT_EQ(dance->positions[i].x, 4 * (r3 * 6.103702e-5f - 1.0f)) << i;
        ASSERT_EQ(dance->positions[i].y, 4 * (r2 * 6.103702e-5f - 1.0f)) << i;
        ASSERT_EQ(dance->positions[i].z, 4 * (r1 * 6.103702e-5f - 1.0f)) << i;
        ASSERT_EQ(dance->sortOrder[i], i);
        ASSERT_EQ(dance->velocities[i].x, 0.0f);
    }
}

TEST_F(ParticleDanceTest, LoadGivesEverySpriteATextureWindowAndAColourFromTheGenerator)
{
    CrtRand::srand(77);
    dance->Load();
    const std::vector<float> texCoords = BufferValues<float>(*dance->sprites->texCoordBuffer);
    const std::vector<D3DCOLOR> colours = BufferValues<D3DCOLOR>(*dance->sprites->colourBuffer);
    CrtRand::srand(77);
    for (size_t sprite = 0; sprite < 2500; ++sprite) {
        const float u = CrtRand::rand() * 2.1362956e-5f;
        const float v = CrtRand::rand() * 2.1362956e-5f;
        const D3DCOLOR colour = ExpectedColour(CrtRand::rand());
        const std::vector<float> corners = {u, v, u + 0.3f, v, u + 0.3f, v + 0.3f, u, v + 0.3f};
        ASSERT_TRUE(std::equal(corners.begin(), corners.end(), texCoords.begin() + 8 * sprite)) << sprite;
        for (size_t corner = 0; corner < 4; ++corner)
            ASSERT_EQ(colours[4 * sprite + corner], colour) << sprite;
    }
}

TEST_F(ParticleDanceTest, TheGeneratorsTopValueGivesBlackNotAColourPastThePalette)
{
    // 32767 maps to exactly 2, the far end of the blue-to-black blend.
    uint32_t seed = 0;
    for (;; ++seed) {
        CrtRand::srand(seed);
        CrtRand::rand();
        CrtRand::rand();
        if (CrtRand::rand() == 32767)
            break;
    }
    CrtRand::srand(seed);
    dance->Load();
    EXPECT_EQ(BufferValues<D3DCOLOR>(*dance->sprites->colourBuffer)[0], 0xCC000000u);
}

TEST(ParticleDanceAttractorTest, TheAttractorKeepsHalfwayOutTo3UnitsFromItsSecondPoint)
{
    // At 0.25 s the two points are 1.59 apart, at 1 s 6.3.
    ExpectNear(dance::detail::Attractor(0.25), ExpectedAttractor(0.25));
    const D3DXVECTOR3 unpushed{float(4.5 * (std::sin(1.0) + std::sin(2.3223))), float(4.5 * std::cos(1.33)),
                               float(4.5 * std::sin(1.0) * std::cos(2.0))};
    ExpectNear(dance::detail::Attractor(1.0), unpushed);
}

TEST_F(ParticleDanceTest, AStepMovesDampsPullsTowardsTheAttractorAndAddsGravity)
{
    SpreadOut();
    const D3DXVECTOR3 start{3.0f, -2.0f, 1.0f}, speed{1.0f, 0.5f, -0.25f};
    dance->positions[0] = start;
    dance->velocities[0] = speed;
    const double t = 0.25;
    const float dt = 0.02f;
    UpdateAt(t, dt);

    const D3DXVECTOR3 moved = Add(start, speed, dt);
    const D3DXVECTOR3 attractor = ExpectedAttractor(t);
    const D3DXVECTOR3 towards{attractor.x - moved.x, attractor.y - moved.y, attractor.z - moved.z};
    const float a = std::hypot(towards.x, towards.y, towards.z);
    D3DXVECTOR3 velocity = Add(Add({}, speed, 1.0f - 2.6f * dt), towards, dt / (a * a * Dieoff + 1.0f / Force) / a);
    velocity.y -= dt * Gravity;
    ExpectNear(dance->positions[0], moved);
    ExpectNear(dance->velocities[0], velocity);

    // The ring moves on, and the batch draws every particle from where it now is.
    EXPECT_EQ(dance->sprites->current, 1);
    EXPECT_EQ(dance->sprites->activeQuads, 2500u);
    const std::vector<float> centres = BufferValues<float>(*dance->sprites->positionBuffers[1]);
    EXPECT_EQ(std::vector<float>(centres.begin() + 9, centres.begin() + 12),
              (std::vector<float>{dance->positions[0].x, dance->positions[0].y, dance->positions[0].z}));
}

TEST_F(ParticleDanceTest, ALongFrameMovesTheSwarmInTenthsOfASecondAndKeepsItTame)
{
    // Half a second at once is five steps of a tenth, each with the attractor at its own time.
    const std::vector<D3DXVECTOR3> positions = dance->positions, velocities = dance->velocities;
    UpdateAt(1.0, 0.5f);
    const std::vector<D3DXVECTOR3> atOnce = dance->positions, atOnceSpeeds = dance->velocities;
    dance->positions = positions;
    dance->velocities = velocities;
    for (int step = 1; step <= 5; ++step)
        UpdateAt(0.5 + 0.1 * step, 0.1f);
    for (int i = 0; i < ParticleDance::count; ++i) {
        ExpectNear(atOnce[i], dance->positions[i], 1e-4f);
        ExpectNear(atOnceSpeeds[i], dance->velocities[i], 1e-3f);
    }

    // Frames of two seconds, and one of no end: as one step each the damping would turn every
    // speed around and multiply it by four a frame.
    for (int frame = 0; frame < 20; ++frame)
        UpdateAt(2.0 + 2.0 * frame, 2.0f);
    UpdateAt(60.0, std::numeric_limits<float>::infinity());
    float fastest = 0.0f;
    for (const D3DXVECTOR3& v : dance->velocities)
        fastest = std::max(fastest, std::hypot(v.x, v.y, v.z));
    EXPECT_LT(fastest, 100.0f);
}

TEST_F(ParticleDanceTest, NoForceOrAParticleOnTheAttractorGivesNoPullAndNoNaN)
{
    SpreadOut();
    const double onAttractor = 0.25, noForce = NoForceRow / SyncRowRate + 0.1;
    const float dt = 0.02f;
    dance->positions[0] = dance::detail::Attractor(onAttractor);
    UpdateAt(onAttractor, dt);
    ExpectNear(dance->velocities[0], {0.0f, -dt * Gravity, 0.0f}, 0.0f);

    dance->positions[1] = {4.0f, 4.0f, -4.0f};
    dance->velocities[1] = {1.0f, 0.0f, 0.0f};
    UpdateAt(noForce, dt);
    ExpectNear(dance->velocities[1], {1.0f - 2.6f * dt, -dt * Gravity, 0.0f}, 1e-6f);
    for (int i = 0; i < ParticleDance::count; ++i)
        ASSERT_TRUE(std::isfinite(dance->positions[i].x + dance->positions[i].y + dance->positions[i].z)) << i;
}

TEST_F(ParticleDanceTest, WithNoTimeNothingMovesButOverlapsArePushedApartInOrderAndWallsHold)
{
    SpreadOut();
    const D3DXVECTOR3 first{3.0f, 3.0f, 3.0f}, apart{-0.06f, -0.08f, 0.0f}; // 0.1 long
    const D3DXVECTOR3 second = Add(first, apart, -1.0f);
    dance->positions[0] = first;
    dance->positions[1] = second;
    dance->positions[2] = {5.3f, -5.3f, -5.3f};
    dance->velocities[2] = {2.0f, -1.0f, 3.0f};
    // The same pair in the grid's first layer, below which the neighbours are clamped.
    const D3DXVECTOR3 low{0.0f, 0.0f, -5.9f};
    dance->positions[3] = low;
    dance->positions[4] = Add(low, apart, -1.0f);
    const std::vector<D3DXVECTOR3> before = dance->positions;
    UpdateAt(0.25, 0.0f);

    // The first moves by 0.4 of the separation and gains twice it as speed ...
    const D3DXVECTOR3 pushed = Add(first, apart, 0.4f);
    ExpectNear(dance->positions[0], pushed);
    ExpectNear(dance->velocities[0], Add({}, apart, 2.0f));
    // ... and the second is pushed from where the first now is.
    const D3DXVECTOR3 back{second.x - pushed.x, second.y - pushed.y, second.z - pushed.z};
    const float e = std::hypot(back.x, back.y, back.z);
    ExpectNear(dance->positions[1], Add(second, back, (0.3f - e) * 2.0f));
    ExpectNear(dance->velocities[1], Add({}, back, (0.3f - e) / e));
    ExpectNear(dance->velocities[3], Add({}, apart, 2.0f));
    // Walls stop a particle at 5 and take away its speed into the wall.
    ExpectNear(dance->positions[2], {5.0f, -5.0f, -5.0f}, 0.0f);
    ExpectNear(dance->velocities[2], {0.0f, 0.0f, 3.0f}, 0.0f);
    for (int i = 5; i < ParticleDance::count; ++i) {
        ASSERT_EQ(std::memcmp(&dance->positions[i], &before[i], sizeof(D3DXVECTOR3)), 0) << i;
        ASSERT_EQ(dance->velocities[i].y, 0.0f) << i;
    }
}

TEST_F(ParticleDanceTest, SortingDrawsAlongZLowestFirstThroughTheIndexBuffer)
{
    for (int i = 0; i < ParticleDance::count; ++i)
        dance->positions[i].z = static_cast<float>(i * 7919 % 2500) * 0.0028f - 3.5f;
    dance->positions[17].z = -5.0f;
    dance->positions[42].z = 5.0f;
    const size_t locks = recorder->Count(Op::LockIndexBuffer);
    dance->SortParticles();

    const std::vector<int32_t>& order = dance->sortOrder;
    EXPECT_EQ(order.front(), 17);
    EXPECT_EQ(order.back(), 42);
    // Depths less than a unit apart may come in either order; none comes after one a unit deeper.
    float deepestSoFar = -std::numeric_limits<float>::infinity();
    for (const int32_t particle : order) {
        const float z = dance->positions[particle].z;
        ASSERT_LT(deepestSoFar - z, 1.0f) << particle;
        deepestSoFar = std::max(deepestSoFar, z);
    }
    EXPECT_EQ(recorder->Call<Op::LockIndexBuffer>(locks).Flags, DWORD(D3DLOCK_DISCARD));
    const std::vector<uint32_t> indices = BufferValues<uint32_t>(*dance->sprites->indexBuffer);
    for (size_t i = 0; i < order.size(); ++i) {
        const uint32_t j = static_cast<uint32_t>(order[i]) * 4;
        ASSERT_EQ(std::vector<uint32_t>(indices.begin() + 6 * i, indices.begin() + 6 * i + 6),
                  (std::vector<uint32_t>{j, j + 1, j + 2, j, j + 2, j + 3}))
            << i;
    }
}

TEST_F(ParticleDanceTest, ARefusedIndexLockNamesThisSource)
{
    recorder->FailCall(Op::LockIndexBuffer, recorder->Count(Op::LockIndexBuffer), D3DERR_INVALIDCALL);
    const std::string message = FrameworkFailure([&] { dance->SortParticles(); });
    const std::regex expected(R"(Error: D3DERR_INVALIDCALL\n\n)"
                              R"(\.\\Source\\Modules\\ParticleDance\\ParticleDance\.cpp : \d+)");
    EXPECT_TRUE(std::regex_match(message, expected)) << message;
}
