// Cameras and camera sets: the curves they load, their matrices against the formulas written out
// here, the dolly, the shake, the previous view-projection and the pick of the active camera.
#include "SceneFixture.h"
#include "Support/FrameworkFailure.h"

#include "Framework/Noise/CrtRand.h"
#include "Framework/Noise/GradientNoise.h"
#include "Framework/Scene/CameraSet.h"
#include "Framework/Timer/DemoSyncTimer.h"

#include <array>
#include <cmath>
#include <numbers>

namespace {

using Matrix = std::array<std::array<double, 4>, 4>;

Matrix Multiply(const Matrix& a, const Matrix& b)
{
    Matrix product{};
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            for (int k = 0; k < 4; ++k)
                product[row][column] += a[row][k] * b[k][column];
    return product;
}

// The row-vector elementary rotations, multiplied about X, then Y, then Z.
Matrix Rotation(double x, double y, double z)
{
    const Matrix aboutX{{{1, 0, 0, 0}, {0, std::cos(x), std::sin(x), 0}, {0, -std::sin(x), std::cos(x), 0}, {0, 0, 0, 1}}};
    const Matrix aboutY{{{std::cos(y), 0, -std::sin(y), 0}, {0, 1, 0, 0}, {std::sin(y), 0, std::cos(y), 0}, {0, 0, 0, 1}}};
    const Matrix aboutZ{{{std::cos(z), std::sin(z), 0, 0}, {-std::sin(z), std::cos(z), 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
    return Multiply(Multiply(aboutX, aboutY), aboutZ);
}

// Right-handed: x and y scaled by the cotangent of half the field of view, depth near..far to 0..1.
Matrix Perspective(double fov, double aspect, double zn, double zf)
{
    const double yScale = 1.0 / std::tan(fov / 2);
    return {{{yScale / aspect, 0, 0, 0}, {0, yScale, 0, 0}, {0, 0, zf / (zn - zf), -1}, {0, 0, zn * zf / (zn - zf), 0}}};
}

// The view undoes the translation, then the rotation (its transpose): rows of R^T, then -(R's rows . p).
Matrix View(const Matrix& r, const D3DXVECTOR3& p)
{
    Matrix v{};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column)
            v[row][column] = r[column][row];
        v[3][row] = -(p.x * r[row][0] + p.y * r[row][1] + p.z * r[row][2]);
    }
    v[3][3] = 1;
    return v;
}

void ExpectMatrixNear(const D3DXMATRIX& actual, const Matrix& expected, double tolerance = 1e-5)
{
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            EXPECT_NEAR(actual(row, column), expected[row][column], tolerance) << "at " << row << ", " << column;
}

void ExpectVectorNear(const D3DXVECTOR3& actual, double x, double y, double z, double tolerance = 1e-5)
{
    EXPECT_NEAR(actual.x, x, tolerance);
    EXPECT_NEAR(actual.y, y, tolerance);
    EXPECT_NEAR(actual.z, z, tolerance);
}

// The curves of a camera standing at t turned by r, and more entries, which replace curves of the same name.
ArchiveEntries StillCamera(const std::string& name, D3DXVECTOR3 t, D3DXVECTOR3 r, const ArchiveEntries& more = {})
{
    ArchiveEntries entries;
    const float values[] = {t.x, t.y, t.z, r.x, r.y, r.z};
    const char* channels[] = {".translateX", ".translateY", ".translateZ", ".rotateX", ".rotateY", ".rotateZ"};
    for (int i = 0; i < 6; ++i)
        entries["Data\\anim\\" + name + channels[i]] = ConstantCurve(values[i]);
    for (const auto& [entry, bytes] : more)
        entries[entry] = bytes;
    return entries;
}

} // namespace

using CameraTest = SceneFixture;

TEST_F(CameraTest, ConstructionLoadsTheCurvesAxisByAxisAndBuildsTheDefaultProjection)
{
    Start({{"Data\\anim\\cam.translateX", ConstantCurve(1.0f)}});
    Camera camera("cam");
    // translateX is there, so the first missing one is rotateX, not translateY.
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("registered curve: \"cam.rotateX\""), std::string::npos) << boxes[0];
    // cot(pi/8) = 2.4142136, aspect 16/9, depth 0.1..100.
    ExpectMatrixNear(camera.projection,
                     {{{2.4142136 * 9 / 16, 0, 0, 0}, {0, 2.4142136, 0, 0}, {0, 0, -100 / 99.9, -1}, {0, 0, -10 / 99.9, 0}}});
    camera.update(3.0f);
    ExpectVectorNear(camera.position, 1, 0, 0);
}

TEST_F(CameraTest, MatricesFollowTheCurvesRotatedAboutXThenYThenZ)
{
    const D3DXVECTOR3 t{1.5f, -2.0f, 4.0f}, r{0.3f, -1.1f, 2.2f};
    Start(StillCamera("cam", t, r));
    Camera camera("cam");
    camera.SetLens({0.9f, 0.5f, 250.0f, 0.0f, 0.0f, 1.6f});
    camera.update(12.0f);

    const Matrix rotation = Rotation(r.x, r.y, r.z);
    Matrix world = rotation;
    world[3] = {t.x, t.y, t.z, 1};
    ExpectVectorNear(camera.position, t.x, t.y, t.z);
    ExpectMatrixNear(camera.view, View(rotation, t));
    ExpectMatrixNear(camera.world, world);
    ExpectMatrixNear(camera.viewProjection, Multiply(View(rotation, t), Perspective(0.9, 1.6, 0.5, 250.0)), 1e-4);
}

TEST_F(CameraTest, TheDollyMovesTheCameraAlongItsOwnAxis)
{
    const ArchiveEntries dolly = {{"Data\\sync_CamZOffset.track", ConstantTrack(5.0f)}};
    Start(StillCamera("ahead", {0, 0, 0}, {0, 0, 0}, StillCamera("turned", {1, 2, 3}, {0, 1.5707964f, 0}, dolly)));
    Camera ahead("ahead");
    ahead.update(1.0f);
    ExpectVectorNear(ahead.position, 0, 0, -5);
    EXPECT_NEAR(ahead.view(3, 2), 5.0f, 1e-6);

    // Turned a quarter about Y its z axis is world +x, so the dolly backs it off along x.
    Camera turned("turned");
    turned.update(1.0f);
    ExpectVectorNear(turned.position, 1 - 5, 2, 3);
    ExpectMatrixNear(turned.view, View(Rotation(0, std::numbers::pi / 2, 0), turned.position));
}

TEST_F(CameraTest, ShakeAddsFractalNoiseOnTheShowClockOnlyForAPositiveAmplitude)
{
    for (float amplitude : {0.0f, -2.0f, 2.0f}) {
        SCOPED_TRACE(amplitude);
        Start(StillCamera("cam", {1, 2, 3}, {0, 0, 0},
                          {{"Data\\sync_ShakeAmplitude.track", ConstantTrack(amplitude)},
                           {"Data\\sync_ShakeSpeed.track", ConstantTrack(3.0f)}}));
        GradientNoise::ResetTables();
        const uint32_t generator = CrtRand::State();
        Camera camera("cam");
        SetShowTime(10.0);
        camera.update(4.0f); // the noise runs at 10 s x speed 3, whatever x is
        if (amplitude <= 0.0f) {
            ExpectVectorNear(camera.position, 1, 2, 3, 0.0);
            // The noise tables draw from the shared generator when first used; nothing was drawn.
            EXPECT_EQ(CrtRand::State(), generator);
            continue;
        }
        auto fractal = [](float x, float alpha, float beta) {
            float sum = 0.0f;
            for (int i = 0; i < 5; ++i)
                sum += GradientNoise::noise1(x * std::pow(beta, float(i))) / std::pow(alpha, float(i));
            return sum;
        };
        const float t = 30.0f;
        ExpectVectorNear(camera.position, 1 + 2 * fractal(t, 2.0f, 2.0f), 2 + 2 * fractal(1.2f * t + 0.3f, 2.5f, 1.8f),
                         3 + 2 * fractal(1.3f * t + 0.54f, 2.9f, 1.7f), 1e-4);
        EXPECT_GT(std::abs(camera.position.x - 1.0f) + std::abs(camera.position.y - 2.0f), 1e-4);
    }
}

TEST_F(CameraTest, PreviousViewProjectionIsTheCurvesOneSixtiethOfASecondEarlier)
{
    // x moves at 60 units a second, so 1/60 s earlier it stood one unit back. The dolly follows
    // the show clock and so is the same in both poses.
    Start(StillCamera("cam", {0, 0, 0}, {0, 0, 0},
                      {{"Data\\anim\\cam.translateX", LinearCurve(0.0f, 60.0f)},
                       {"Data\\sync_CamZOffset.track", StepTrack({{0, 0.0f}, {100, 7.0f}})}}));
    Camera camera("cam");
    SetShowTime(100 / SyncRowRate + 1e-6);
    camera.updateWithPrevious(0.5f);

    const Matrix projection = Perspective(std::numbers::pi / 4, 16.0 / 9.0, 0.1, 100.0);
    ExpectMatrixNear(camera.viewProjection, Multiply(View(Rotation(0, 0, 0), {30, 0, -7}), projection), 1e-4);
    ExpectMatrixNear(camera.previousViewProjection, Multiply(View(Rotation(0, 0, 0), {29, 0, -7}), projection), 1e-4);
}

TEST_F(CameraTest, ActiveCamPicksInNameOrderTruncatedAndUpdatesOnlyUpToThePick)
{
    ArchiveEntries entries = {{"Data\\sync_ActiveCam.track", StepTrack({{0, 1.9f}, {100, -0.5f}, {200, 7.0f}, {300, -1.5f}})}};
    for (const char* name : {"camA", "camB", "camC"})
        entries = StillCamera(name, {0, 0, 0}, {0, 0, 0}, entries);
    Start(entries);
    struct Case {
        uint32_t row;
        const char* active;
        size_t updated; // cameras in name order that moved
    };
    for (const Case& c : {Case{0, "camB", 2}, Case{100, "camA", 1}, Case{200, "camA", 3}, Case{300, "camA", 3}}) {
        SCOPED_TRACE(c.row);
        CameraSet set;
        for (const char* name : {"camB", "camA", "camC"})
            set.Add(std::make_unique<Camera>(name));
        EXPECT_EQ(set.GetActiveCamera()->name, "camC"); // the last added, until the first update
        SetShowTime((c.row + 0.5) / SyncRowRate);
        set.update(1.0f);
        EXPECT_EQ(set.GetActiveCamera()->name, c.active);
        EXPECT_EQ(&set.GetViewProjection(), &set.GetActiveCamera()->viewProjection);
        size_t index = 0;
        for (const auto& [name, camera] : set.Cameras())
            EXPECT_EQ(!(camera->viewProjection == IdentityMatrix()), index++ < c.updated) << name;
    }

    CameraSet empty;
    EXPECT_EQ(FrameworkFailure([&] { empty.update(1.0f); }), "[CameraSet::update]: the scene has no cameras");
}
