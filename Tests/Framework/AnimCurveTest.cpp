#include "Support/ArchiveFixture.h"

#include "Framework/Scene/AnimCurve.h"
#include "Framework/Scene/NodeAnim.h"
#include "Framework/Scene/Vec3Curve.h"
#include "Framework/Notice.h"

#include <cmath>

namespace {

AnimCurve Curve(std::vector<CurveKey> keys)
{
    AnimCurve curve("c");
    curve.keys = std::move(keys);
    return curve;
}

// The Hermite segment worked out in double precision from its end points and slopes.
double Hermite(const CurveKey& k0, const CurveKey& k1, double x)
{
    const double dt = k1.time - k0.time, t = (x - k0.time) / dt;
    const double h00 = 2 * t * t * t - 3 * t * t + 1, h10 = t * t * t - 2 * t * t + t;
    const double h01 = -2 * t * t * t + 3 * t * t, h11 = t * t * t - t * t;
    return h00 * k0.value + h10 * dt * k0.outSlope + h01 * k1.value + h11 * dt * k1.inSlope;
}

} // namespace

TEST(AnimCurveTest, FlatSlopesGiveASmoothstep)
{
    auto curve = Curve({{0, 0, 0, 0}, {1, 1, 0, 0}});
    EXPECT_FLOAT_EQ(evaluate(curve, 0.5f), 0.5f);
    EXPECT_FLOAT_EQ(evaluate(curve, 0.25f), 0.15625f);
}

TEST(AnimCurveTest, UnitSlopesGiveTheIdentity)
{
    auto curve = Curve({{0, 0, 0, 1}, {1, 1, 1, 0}});
    for (float x = 0.0f; x <= 1.0f; x += 0.125f)
        EXPECT_NEAR(evaluate(curve, x), x, 1e-6) << x;
}

TEST(AnimCurveTest, MatchesTheHermiteFormWithDifferentSlopes)
{
    const CurveKey k0{1.0f, 2.0f, 0.0f, -3.0f}, k1{3.5f, -1.0f, 4.0f, 0.0f};
    auto curve = Curve({k0, k1});
    for (float x : {1.0f, 1.3f, 2.0f, 3.1f, 3.5f})
        EXPECT_NEAR(evaluate(curve, x), Hermite(k0, k1, x), 2e-5) << x;
    // Before the first key the first segment's cubic goes on backwards.
    EXPECT_NEAR(evaluate(curve, 0.5f), Hermite(k0, k1, 0.5), 2e-4);
}

TEST(AnimCurveTest, LastKeyOpensASegmentEndingAtTwoHundredThousandSeconds)
{
    auto constant = Curve({{2, 5, 0, 0}});
    for (float x : {-100.0f, 0.0f, 2.0f, 1e4f, 3e5f})
        EXPECT_FLOAT_EQ(evaluate(constant, x), 5.0f) << x;

    const CurveKey last{0.0f, 0.0f, 0.0f, 1.0f};
    const CurveKey end{CurveEndTime, 0.0f, 0.0f, 0.0f};
    auto rising = Curve({last});
    EXPECT_NEAR(evaluate(rising, 1000.0f), Hermite(last, end, 1000.0), 0.5);
    EXPECT_NEAR(evaluate(rising, 1.0f), 1.0f, 1e-3);
}

TEST(AnimCurveTest, SearchWalksBackAndForthToTheRightSegment)
{
    auto curve = Curve({{0, 0, 0, 1}, {1, 3, 2, -1}, {2, -2, 0, 0}});
    auto fresh = [&](float x) {
        auto copy = Curve(curve.keys);
        return evaluate(copy, x);
    };
    for (float x : {1.5f, 0.5f, 1.5f, 2.5f, -0.5f, 1.0f, 0.99f})
        EXPECT_EQ(evaluate(curve, x), fresh(x)) << x;
    EXPECT_EQ(findSegment(curve, -1.0f), 0);
    EXPECT_EQ(findSegment(curve, 1.0f), 1);
    EXPECT_EQ(findSegment(curve, 9.0f), 2);
}

TEST(AnimCurveTest, CurveWithoutKeysReadsZero)
{
    AnimCurve empty("empty");
    EXPECT_EQ(findSegment(empty, 1.0f), -1);
    EXPECT_EQ(evaluate(empty, 1.0f), 0.0f);
}

TEST(AnimCurveTest, SetKeyReplacesAnEqualTimeAndInsertsInOrder)
{
    AnimCurve curve("c");
    setKey(curve, 5.0f, {5.0f, 1.0f, 0, 0});
    setKey(curve, 1.0f, {1.0f, 2.0f, 0, 0});
    setKey(curve, 9.0f, {9.0f, 3.0f, 0, 0});
    setKey(curve, 5.0f, {5.0f, 4.0f, 7, 8});
    ASSERT_EQ(curve.keys.size(), 3u);
    EXPECT_EQ(curve.keys[0].time, 1.0f);
    EXPECT_EQ(curve.keys[1].value, 4.0f);
    EXPECT_EQ(curve.keys[1].outSlope, 8.0f);
    EXPECT_EQ(curve.keys[2].time, 9.0f);
    EXPECT_EQ(curve.searchIndex, 0u);
}

class CurveLoadingTest : public ArchiveFixture {
protected:
    void SetUp() override
    {
        ArchiveFixture::SetUp();
        resetMissingCurveReport();
        SetNoticeReporter([this](const std::string& caption, const std::string& text) {
            notices.push_back(caption + "|" + text);
        });
    }
    void TearDown() override
    {
        SetNoticeReporter(nullptr);
        ArchiveFixture::TearDown();
    }
    void AddCurve(const std::string& name, const std::vector<CurveKey>& keys, size_t extraBytes = 0)
    {
        auto bytes = EncodeCurveKeys(keys);
        bytes.resize(bytes.size() + extraBytes, 0x7F);
        writer.Add("Data\\anim\\" + name, bytes);
    }

    ArchiveWriter writer;
    std::vector<std::string> notices;
};

TEST_F(CurveLoadingTest, TrailingBytesAndShortFilesLoadWithWholeKeysOnly)
{
    AddCurve("two", {{0, 1, 2, 3}, {1, 4, 5, 6}}, 8);
    AddCurve("short", {}, 12);
    Mount(writer);

    auto two = registerCurve("two");
    EXPECT_TRUE(ensureLoaded(*two));
    ASSERT_EQ(two->curve.keys.size(), 2u);
    EXPECT_EQ(two->curve.keys[1].outSlope, 6.0f);

    auto tooShort = registerCurve("short");
    EXPECT_TRUE(ensureLoaded(*tooShort));
    EXPECT_EQ(evaluate(*tooShort, 3.0f), 0.0f);
    EXPECT_TRUE(notices.empty());
}

TEST_F(CurveLoadingTest, OnlyTheFirstMissingCurveIsReportedAndAllReadZero)
{
    Mount(writer);
    auto first = registerCurve("Camera1.translateX");
    auto second = registerCurve("Camera1.translateY");
    EXPECT_FALSE(ensureLoaded(*first));
    EXPECT_FALSE(ensureLoaded(*second));
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], "File not found|No animCurve found in filesystem corresponding to registered curve: "
                        "\"Camera1.translateX\".\n(Skipping further error messages)");
    for (float x : {-3.0f, 0.0f, 5000.0f, 20000.0f}) {
        EXPECT_EQ(evaluate(*first, x), 0.0f);
        EXPECT_EQ(evaluate(*second, x), 0.0f);
    }
    EXPECT_EQ(second->curve.keys.size(), 2u);
    EXPECT_EQ(second->lastValue, 0.0f);
}

TEST_F(CurveLoadingTest, NodeAnimRegistersAxisMajorAndBuildsScaleRotateTranslate)
{
    AddCurve("box1.translateX", {{0, 1, 0, 0}});
    AddCurve("box1.translateY", {{0, 2, 0, 0}});
    AddCurve("box1.translateZ", {{0, 3, 0, 0}});
    AddCurve("box1.rotateX", {{0, 0, 0, 0}});
    AddCurve("box1.rotateY", {{0, 0, 0, 0}});
    AddCurve("box1.rotateZ", {{0, 0, 0, 60}, {1, 60, 60, 0}}); // linear 60 rad/s
    Mount(writer);

    NodeAnim anim("box1", NodeAnim::Translate | NodeAnim::Rotate | NodeAnim::PreviousFrame);
    std::vector<std::string> names;
    for (const auto& curve : anim.Curves())
        names.push_back(curve->curve.name);
    EXPECT_EQ(names, (std::vector<std::string>{"box1.translateX", "box1.rotateX", "box1.translateY", "box1.rotateY",
                                               "box1.translateZ", "box1.rotateZ"}));
    EXPECT_TRUE(anim.Load());

    const float angle = 0.5f * 60.0f;
    anim.Update(0.5f);
    EXPECT_NEAR(anim.current.rotation.z, angle, 1e-4);
    EXPECT_NEAR(anim.previous.rotation.z, (0.5f - NodeAnim::PreviousFrameOffset) * 60.0f, 1e-4);
    EXPECT_EQ(anim.current.scale.x, 1.0f) << "a disabled channel keeps its start value";

    // A point on +x turns about z, then moves by the translation.
    D3DXVECTOR4 moved;
    const D3DXVECTOR3 unitX{1, 0, 0};
    D3DXVec3Transform(&moved, &unitX, &anim.current.world);
    EXPECT_NEAR(moved.x, 1.0f + std::cos(angle), 1e-4);
    EXPECT_NEAR(moved.y, 2.0f + std::sin(angle), 1e-4);
    EXPECT_NEAR(moved.z, 3.0f, 1e-5);
}

TEST_F(CurveLoadingTest, NodeAnimAndVec3CurveAttemptEveryCurve)
{
    AddCurve("lampY", {{0, 7, 0, 0}});
    Mount(writer);
    Vec3Curve lamp("lamp");
    EXPECT_FALSE(lamp.Load());
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("\"lampZ\""), std::string::npos) << "Z is loaded first";
    lamp.Update(1.0f);
    EXPECT_EQ(lamp.value.y, 7.0f);

    NodeAnim node("ghost", NodeAnim::Scale);
    EXPECT_FALSE(node.Load());
    for (const auto& curve : node.Curves())
        EXPECT_EQ(curve->curve.keys.size(), 2u) << curve->curve.name << " was not attempted";
}
