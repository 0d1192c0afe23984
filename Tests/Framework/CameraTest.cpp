// Cameras and camera sets on the framework's archive, clock and sync device: the curves they
// register, the matrices they give (checked against the formulas written out here), the dolly,
// the shake, the previous view-projection and the pick of the active camera.
#include "SceneFixture.h"
#include "Support/FrameworkFailure.h"

#include "Framework/Noise/CrtRand.h"
#include "Framework/Noise/GradientNoise.h"
#include "Framework/Scene/CameraSet.h"
#include "Framework/Timer/DemoSyncTimer.h"

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

// Right-handed perspective: x and y scaled by the cotangent of half the field of view, depth from
// near..far to 0..1, w = -z.
Matrix Perspective(double fov, double aspect, double zn, double zf)
{
    const double yScale = 1.0 / std::tan(fov / 2), xScale = yScale / aspect;
    return {{{xScale, 0, 0, 0}, {0, yScale, 0, 0}, {0, 0, zf / (zn - zf), -1}, {0, 0, zn * zf / (zn - zf), 0}}};
}

// View: undo the translation, then the rotation (its transpose). World: rotate, then move.
Matrix View(const Matrix& r, const D3DXVECTOR3& p)
{
    Matrix v{};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            v[row][column] = r[column][row];
    for (int column = 0; column < 3; ++column)
        v[3][column] = -(p.x * r[column][0] + p.y * r[column][1] + p.z * r[column][2]);
    v[3][3] = 1;
    return v;
}

Matrix World(const Matrix& r, const D3DXVECTOR3& p)
{
    Matrix w = r;
    w[3] = {p.x, p.y, p.z, 1};
    return w;
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

// The curves of a camera standing still at position t turned by angles r.
ArchiveEntries StillCamera(const std::string& name, D3DXVECTOR3 t, D3DXVECTOR3 r)
{
    return {{"Data\\anim\\" + name + ".translateX", ConstantCurve(t.x)},
            {"Data\\anim\\" + name + ".translateY", ConstantCurve(t.y)},
            {"Data\\anim\\" + name + ".translateZ", ConstantCurve(t.z)},
            {"Data\\anim\\" + name + ".rotateX", ConstantCurve(r.x)},
            {"Data\\anim\\" + name + ".rotateY", ConstantCurve(r.y)},
            {"Data\\anim\\" + name + ".rotateZ", ConstantCurve(r.z)}};
}

// The entries with more added; an entry of the same name is replaced.
ArchiveEntries With(ArchiveEntries entries, const ArchiveEntries& more)
{
    for (const auto& [name, bytes] : more)
        entries[name] = bytes;
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

    EXPECT_FLOAT_EQ(camera.lens.fieldOfView, 0.7853982f);
    EXPECT_FLOAT_EQ(camera.lens.aspect, 1.7777778f);
    EXPECT_EQ(camera.lens.nearFocus, 0.0f);
    EXPECT_EQ(camera.lens.farFocus, 0.0f);
    // cot(pi/8) = 2.4142136; depth 0.1..100.
    ExpectMatrixNear(camera.projection, {{{2.4142136 * 9 / 16, 0, 0, 0},
                                          {0, 2.4142136, 0, 0},
                                          {0, 0, -100 / 99.9, -1},
                                          {0, 0, -10 / 99.9, 0}}});

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
    ExpectVectorNear(camera.position, t.x, t.y, t.z);
    ExpectVectorNear(camera.rotation, r.x, r.y, r.z);
    ExpectMatrixNear(camera.rotationMatrix, rotation);
    ExpectMatrixNear(camera.view, View(rotation, t));
    ExpectMatrixNear(camera.world, World(rotation, t));
    ExpectMatrixNear(camera.projection, Perspective(0.9, 1.6, 0.5, 250.0), 1e-4);
    ExpectMatrixNear(camera.viewProjection, Multiply(View(rotation, t), Perspective(0.9, 1.6, 0.5, 250.0)), 1e-4);
}

TEST_F(CameraTest, TheDollyMovesTheCameraAlongItsOwnAxis)
{
    Start(With(StillCamera("ahead", {0, 0, 0}, {0, 0, 0}),
               With(StillCamera("turned", {1, 2, 3}, {0, std::numbers::pi_v<float> / 2, 0}),
                    {{"Data\\sync_CamZOffset.track", ConstantTrack(5.0f)}})));
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

TEST_F(CameraTest, ShakeAddsFractalNoiseOnlyForAPositiveAmplitude)
{
    for (float amplitude : {0.0f, -2.0f}) {
        Start(With(StillCamera("cam", {1, 2, 3}, {0, 0, 0}),
                   {{"Data\\sync_ShakeAmplitude.track", ConstantTrack(amplitude)},
                    {"Data\\sync_ShakeSpeed.track", ConstantTrack(3.0f)}}));
        GradientNoise::ResetTables();
        const uint32_t before = CrtRand::State();
        Camera camera("cam");
        SetShowTime(10.0);
        camera.update(10.0f);
        EXPECT_EQ(camera.position.x, 1.0f) << amplitude;
        EXPECT_EQ(camera.position.y, 2.0f);
        EXPECT_EQ(camera.position.z, 3.0f);
        // No noise was evaluated: the tables, built from the shared generator, are not built yet.
        EXPECT_EQ(CrtRand::State(), before);
    }

    Start(With(StillCamera("cam", {1, 2, 3}, {0, 0, 0}),
               {{"Data\\sync_ShakeAmplitude.track", ConstantTrack(2.0f)},
                {"Data\\sync_ShakeSpeed.track", ConstantTrack(3.0f)}}));
    Camera camera("cam");
    SetShowTime(10.0);
    camera.update(4.0f); // the noise runs on the show clock (30 = 10 s x speed 3), not on x
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

TEST_F(CameraTest, PreviousViewProjectionIsTheCurvesOneSixtiethOfASecondEarlier)
{
    // x moves at 60 units a second, so 1/60 s earlier it stood one unit back. The dolly follows
    // the show clock and so is the same in both poses.
    Start(With(StillCamera("cam", {0, 0, 0}, {0, 0, 0}),
               {{"Data\\anim\\cam.translateX", LinearCurve(0.0f, 60.0f)},
                {"Data\\sync_CamZOffset.track", StepTrack({{0, 0.0f}, {100, 7.0f}})}}));
    Camera camera("cam");
    SetShowTime(100 / SyncRowRate + 1e-6);
    camera.updateWithPrevious(0.5f);

    const Matrix identity = Rotation(0, 0, 0);
    const Matrix projection = Perspective(std::numbers::pi / 4, 16.0 / 9.0, 0.1, 100.0);
    ExpectVectorNear(camera.position, 30, 0, -7, 1e-4);
    ExpectMatrixNear(camera.viewProjection, Multiply(View(identity, {30, 0, -7}), projection), 1e-4);
    ExpectMatrixNear(camera.previousViewProjection, Multiply(View(identity, {29, 0, -7}), projection), 1e-4);
}

TEST_F(CameraTest, MissingTrackIsRefusedWithItsPath)
{
    ArchiveWriter writer;
    writer.Add("Data\\events\\Scenes.txt", Bytes("0 Test\n"));
    writer.Add("Data\\sync_CamZOffset.track", ConstantTrack(0.0f));
    WriteArchive(writer.Build());
    framework = MakeFramework();
    EXPECT_EQ(FrameworkFailure([] { Camera camera("cam"); }), "loadTrack failed on Data\\sync_ShakeAmplitude.track");
}

class CameraSetTest : public SceneFixture {
protected:
    // Cameras added as camB, camA, camC; in name order camA, camB, camC.
    CameraSet ThreeCameras()
    {
        CameraSet set;
        for (const char* name : {"camB", "camA", "camC"})
            set.Add(std::make_unique<Camera>(name));
        return set;
    }

    void StartWithActiveCam(const std::vector<std::pair<uint32_t, float>>& picks)
    {
        ArchiveEntries entries = {{"Data\\sync_ActiveCam.track", StepTrack(picks)}};
        for (const char* name : {"camA", "camB", "camC"})
            entries = With(entries, StillCamera(name, {0, 0, 0}, {0, 0, 0}));
        Start(entries);
    }

    static bool Updated(const CameraSet& set, const std::string& name)
    {
        return !(set.Cameras().at(name)->viewProjection == IdentityMatrix());
    }

    static std::string ActiveName(const CameraSet& set) { return set.GetActiveCamera()->name; }
};

TEST_F(CameraSetTest, TheLastAddedCameraIsActiveUntilTheFirstUpdate)
{
    StartWithActiveCam({{0, 0.0f}});
    CameraSet set = ThreeCameras();
    EXPECT_EQ(ActiveName(set), "camC");
    set.Add(std::make_unique<Camera>("camB"));
    EXPECT_EQ(set.Cameras().size(), 3u);
    EXPECT_EQ(ActiveName(set), "camB");
}

TEST_F(CameraSetTest, ActiveCamPicksByNameOrderTruncatedAndUpdatesOnlyUpToThePick)
{
    StartWithActiveCam({{0, 1.9f}, {100, -0.5f}, {200, 7.0f}, {300, -1.5f}, {400, 2.0f}});
    struct Case {
        uint32_t row;
        const char* active;
        std::vector<const char*> updated, untouched;
    };
    const Case cases[] = {{0, "camB", {"camA", "camB"}, {"camC"}},
                          {100, "camA", {"camA"}, {"camB", "camC"}},
                          {200, "camA", {"camA", "camB", "camC"}, {}},
                          {300, "camA", {"camA", "camB", "camC"}, {}},
                          {400, "camC", {"camA", "camB", "camC"}, {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        CameraSet set = ThreeCameras();
        SetShowTime((c.row + 0.5) / SyncRowRate);
        set.update(1.0f);
        EXPECT_EQ(ActiveName(set), c.active);
        for (const char* name : c.updated)
            EXPECT_TRUE(Updated(set, name)) << name;
        for (const char* name : c.untouched)
            EXPECT_FALSE(Updated(set, name)) << name;
        EXPECT_EQ(&set.GetViewProjection(), &set.GetActiveCamera()->viewProjection);
    }
}

TEST_F(CameraSetTest, ASetWithoutCamerasIsRefusedInsteadOfUpdated)
{
    StartWithActiveCam({{0, 0.0f}});
    CameraSet empty;
    EXPECT_EQ(empty.GetActiveCamera(), nullptr);
    EXPECT_EQ(FrameworkFailure([&] { empty.update(1.0f); }), "[CameraSet::update]: the scene has no cameras");
    EXPECT_EQ(FrameworkFailure([&] { empty.GetView(); }), "[CameraSet]: the scene has no cameras");
}
