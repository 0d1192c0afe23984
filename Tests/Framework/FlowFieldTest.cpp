#include "Framework/Noise/CrtRand.h"
#include "Framework/Noise/FlowField.h"
#include "Framework/FrameworkEx.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

using Vec = std::array<double, 3>;
using Mat = std::array<std::array<double, 3>, 3>;

Mat Multiply(const Mat& a, const Mat& b)
{
    Mat r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                r[i][j] += a[i][k] * b[k][j];
    return r;
}

Vec RowTimes(const Vec& v, const Mat& m)
{
    Vec r{};
    for (int j = 0; j < 3; ++j)
        for (int k = 0; k < 3; ++k)
            r[j] += v[k] * m[k][j];
    return r;
}

// The field value of one cell, worked out from the construction rules: roll about z, then pitch
// about x, then yaw about y for each vortex frame, whose inverse is a translation back followed by
// the transposed rotation.
Vec ExpectedCell(int ix, int iy, int iz)
{
    uint32_t state = 4658;
    auto rand = [&] {
        state = state * 214013u + 2531011u;
        return double((state >> 16) & 0x7FFF);
    };
    struct Vortex {
        Mat rotation;
        Vec centre;
    };
    std::array<Vortex, 60> vortices;
    for (int k = 0; k < 60; ++k) {
        auto angle = [&] { return (rand() * 0.00019175345 - 3.1415927) * 0.15; };
        const double roll = angle(), pitch = angle(), yaw = angle();
        const Mat rz{{{std::cos(roll), std::sin(roll), 0}, {-std::sin(roll), std::cos(roll), 0}, {0, 0, 1}}};
        const Mat rx{{{1, 0, 0}, {0, std::cos(pitch), std::sin(pitch)}, {0, -std::sin(pitch), std::cos(pitch)}}};
        const Mat ry{{{std::cos(yaw), 0, -std::sin(yaw)}, {0, 1, 0}, {std::sin(yaw), 0, std::cos(yaw)}}};
        const double r4 = rand(), r5 = rand();
        vortices[k] = {Multiply(Multiply(rz, rx), ry),
                       {r5 * 3.0518509e-5 - 0.5, r4 * 3.0518509e-5 - 0.5, (k * 0.033333335 - 1) * 0.8}};
    }
    for (long skip = 0; skip < 3L * ((ix * 61L + iy) * 61L + iz); ++skip)
        rand();
    const double r1 = rand(), r2 = rand(), r3 = rand();
    const Vec p{(ix - 30) / 30.0, (iy - 30) / 30.0, (iz - 30) / 30.0};
    Vec acc{(r3 * 6.103702e-5 - 1) * 1.45, (r2 * 6.103702e-5 - 1) * 1.45, (-1 - r1 * 0.00015259255) * 0.25};
    for (const Vortex& v : vortices) {
        Mat transposed{};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                transposed[i][j] = v.rotation[j][i];
        const Vec q = RowTimes({p[0] - v.centre[0], p[1] - v.centre[1], p[2] - v.centre[2]}, transposed);
        const double s = q[0] * q[0] + q[1] * q[1] + q[2] * q[2];
        const double b = 8 * std::exp(-64 * s * s);
        const Vec turned = RowTimes({(-q[0] - q[1]) * b, (q[0] - q[1]) * b, 0}, v.rotation);
        for (int i = 0; i < 3; ++i)
            acc[i] += turned[i];
    }
    return {acc[0] - 1.5 * p[0], acc[1] - 1.5 * p[1], acc[2]};
}

// The field as the construction rules state it, in single precision with the same D3DX calls, every
// vortex's term summed; the cells of every step-th plane in each direction.
std::vector<D3DXVECTOR3> FullSumCells(int step)
{
    CrtRand::srand(4658);
    struct Frame {
        D3DXMATRIX toLocal, rotation;
    };
    std::vector<Frame> frames(60);
    for (int k = 0; k < 60; ++k) {
        float angles[3];
        for (float& angle : angles)
            angle = (CrtRand::rand() * 0.00019175345f - 3.1415927f) * 0.15f;
        D3DXMATRIX translation, frame;
        D3DXMatrixRotationYawPitchRoll(&frames[k].rotation, angles[2], angles[1], angles[0]);
        const float r4 = static_cast<float>(CrtRand::rand()), r5 = static_cast<float>(CrtRand::rand());
        D3DXMatrixTranslation(&translation, r5 * 3.0518509e-5f - 0.5f, r4 * 3.0518509e-5f - 0.5f,
                              (k * 0.033333335f - 1.0f) * 0.8f);
        D3DXMatrixMultiply(&frame, &frames[k].rotation, &translation);
        D3DXMatrixInverse(&frames[k].toLocal, nullptr, &frame);
    }
    std::vector<D3DXVECTOR3> cells;
    for (int ix = 0; ix < 61; ++ix)
        for (int iy = 0; iy < 61; ++iy)
            for (int iz = 0; iz < 61; ++iz) {
                const int r1 = CrtRand::rand(), r2 = CrtRand::rand(), r3 = CrtRand::rand();
                if (ix % step || iy % step || iz % step)
                    continue;
                const D3DXVECTOR3 p{float(ix - 30) / 30.0f, float(iy - 30) / 30.0f, float(iz - 30) / 30.0f};
                D3DXVECTOR3 acc{CrtRand::Signed(r3) * 1.45f, CrtRand::Signed(r2) * 1.45f,
                                (-1.0f - static_cast<float>(r1) * 0.00015259255f) * 0.25f};
                for (const Frame& frame : frames) {
                    D3DXVECTOR4 q, turned;
                    D3DXVec3Transform(&q, &p, &frame.toLocal);
                    const float s = q.x * q.x + q.y * q.y + q.z * q.z;
                    const float strength = 8.0f * std::exp(-(8.0f * s) * (8.0f * s));
                    const D3DXVECTOR3 swirl{(-q.x - q.y) * strength, (q.x - q.y) * strength, 0.0f};
                    D3DXVec3Transform(&turned, &swirl, &frame.rotation);
                    acc = {acc.x + turned.x, acc.y + turned.y, acc.z + turned.z};
                }
                cells.push_back({acc.x - 1.5f * p.x, acc.y - 1.5f * p.y, acc.z});
            }
    return cells;
}

bool SameBits(const D3DXVECTOR3& a, const D3DXVECTOR3& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

class FlowFieldTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        field = new FlowField;
        BuildVortexField(*field);
    }
    static void TearDownTestSuite() { delete field; }

    static inline FlowField* field = nullptr;
};

} // namespace

TEST(NURBSVOLUMETest, NearestSampleClampsToTheBorderCells)
{
    NURBSVOLUME grid(61, 61, 61);
    grid.Cell(0, 0, 60) = {1, 2, 3};
    grid.Cell(60, 60, 0) = {4, 5, 6};
    grid.Cell(7, 8, 9) = {7, 8, 9};
    EXPECT_EQ(grid.SampleNearest({-3.2f, 0.5f, 70.0f}).z, 3.0f);
    EXPECT_EQ(grid.SampleNearest({1e30f, 60.9f, -1e30f}).x, 4.0f);
    EXPECT_EQ(grid.SampleNearest({7.99f, 8.0f, 9.5f}).y, 8.0f);
    EXPECT_EQ(grid.SampleNearest({std::nanf(""), 0, 60}).x, 1.0f);
    EXPECT_THROW(NURBSVOLUME(2, 1, 2), FrameworkEx);
    try {
        NURBSVOLUME tooSmall(1, 2, 2);
        ADD_FAILURE() << "no exception";
    } catch (const FrameworkEx& e) {
        EXPECT_EQ(e.message, "[NURBSVOLUME::NURBSVOLUME] Grid size too small");
    }
}

TEST_F(FlowFieldTest, WorldCubeMapsOntoTheGrid)
{
    EXPECT_EQ(field->size, 61u);
    EXPECT_EQ(field->grid->xCount, 61u);
    const float worlds[] = {-10.0f, 0.0f, 10.0f};
    const float grids[] = {0.0f, 30.5f, 61.0f};
    for (int i = 0; i < 3; ++i) {
        D3DXVECTOR4 g;
        const D3DXVECTOR3 w{worlds[i], worlds[i], worlds[i]};
        D3DXVec3Transform(&g, &w, &field->worldToGrid);
        EXPECT_NEAR(g.x, grids[i], 1e-4);
        EXPECT_NEAR(g.z, grids[i], 1e-4);
        EXPECT_NEAR(g.w, 1.0f, 1e-6);
    }
    const D3DXVECTOR3 origin{0, 0, 0};
    const D3DXVECTOR3 centre = field->grid->Cell(30, 30, 30);
    EXPECT_EQ(field->Sample(origin).x, centre.x);
    EXPECT_EQ(field->Sample(origin).z, centre.z);
}

TEST_F(FlowFieldTest, CellsFollowTheSeededVortexConstruction)
{
    const int cells[][3] = {{30, 30, 30}, {0, 0, 0}, {60, 12, 33}, {29, 31, 28}, {60, 60, 60}};
    for (const auto& c : cells) {
        const Vec expected = ExpectedCell(c[0], c[1], c[2]);
        const D3DXVECTOR3 actual = field->grid->Cell(c[0], c[1], c[2]);
        EXPECT_NEAR(actual.x, expected[0], 2e-4) << c[0] << "," << c[1] << "," << c[2];
        EXPECT_NEAR(actual.y, expected[1], 2e-4) << c[0] << "," << c[1] << "," << c[2];
        EXPECT_NEAR(actual.z, expected[2], 2e-4) << c[0] << "," << c[1] << "," << c[2];
    }
}

TEST_F(FlowFieldTest, DrawsExactlyThreeNumbersPerCellAfterTheVortices)
{
    uint32_t state = 4658;
    for (long i = 0; i < 300 + 3L * 61 * 61 * 61; ++i)
        state = state * 214013u + 2531011u;
    FlowField again;
    BuildVortexField(again);
    EXPECT_EQ(CrtRand::State(), state);
}

// The terms left out (an exponential that underflows, or a swirl below the sum's last bit) change
// no bit of any cell; the cells of every third plane are compared with the full sum.
TEST_F(FlowFieldTest, CellsAreTheFullSumToTheLastBit)
{
    constexpr int Step = 3;
    const std::vector<D3DXVECTOR3> expected = FullSumCells(Step);
    size_t at = 0, differing = 0;
    for (int ix = 0; ix < 61; ix += Step)
        for (int iy = 0; iy < 61; iy += Step)
            for (int iz = 0; iz < 61; iz += Step)
                differing += !SameBits(field->grid->Cell(ix, iy, iz), expected[at++]);
    EXPECT_EQ(at, expected.size());
    EXPECT_EQ(differing, 0u) << "of " << at << " cells";
}

// Also in the background: every draw is made before the build's constructor returns, so what the
// show draws next is the same whenever the cells are done.
TEST_F(FlowFieldTest, AnyNumberOfThreadsGivesTheSameBitsAndDraws)
{
    FlowField one, three, background;
    BuildVortexField(one, 1);
    const uint32_t stateAfterOne = CrtRand::State();
    BuildVortexField(three, 3);
    EXPECT_EQ(CrtRand::State(), stateAfterOne);
    {
        VortexFieldBuild build(background, 2);
        EXPECT_EQ(CrtRand::State(), stateAfterOne);
        CrtRand::rand(); // the show goes on drawing while the cells are summed
        build.Finish();
    }
    const size_t bytes = one.grid->cells.size() * sizeof(D3DXVECTOR3);
    for (const FlowField* other : {&three, &background, field}) {
        ASSERT_EQ(other->grid->cells.size(), one.grid->cells.size());
        EXPECT_EQ(std::memcmp(one.grid->cells.data(), other->grid->cells.data(), bytes), 0);
    }
}
