// The whole show on the Recorder at 20 frames a second (2,700 frames over the build's
// basefile.dat; 2 a second under the sanitizers), losing the device again and again: at Present
// on a seeded random frame of every scene, and inside several seeded random frames at a random
// call of a random operation (whichever the frame makes). Every loss is recovered within its
// frame: the device is reset, every kind of device object is back to its count after the show was
// opened, the show clock starts again at 0 and no exception leaves the frame. The test drives the
// clock itself, as an offline run does, so the show still reaches 135 s.
#include "Demo/BuiltShowFixture.h"

#include "Framework/FrameworkEx.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Framework/Timer/Timer.h"
#include "Platform/Gfx/Recorder/LiveObject.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <stdexcept>

namespace {

// Under the sanitizers (scripts/sanitize) a frame costs about ten times as much: the same losses
// at 2 frames a second there.
#ifdef QL_SANITIZED
constexpr int FramesPerSecond = 2;
#else
constexpr int FramesPerSecond = 20;
#endif
constexpr double Step = 1.0 / FramesPerSecond;
constexpr int Frames = 135 * FramesPerSecond;
constexpr int FailedCallFrames = 8;

using Census = std::map<ObjectKind, size_t>;

Census LiveCensus(const Recorder& recorder)
{
    Census census;
    for (const LiveObject& object : recorder.LiveObjects())
        ++census[object.kind];
    return census;
}

std::string Describe(const Census& census)
{
    std::string text;
    for (const auto& [kind, count] : census)
        text += std::string(ObjectKindName(kind)) + " " + std::to_string(count) + "; ";
    return text;
}

} // namespace

class WholeShowDeviceLossTest : public BuiltShowFixture {
protected:
    void SetUp() override
    {
        BuiltShowFixture::SetUp();
        recorder->Config().keepCalls = false;
        Open("800x450", RecorderDirect3DCreator(recorder));
    }

    // The first frame of each entry of the timeline, and the frame after the last.
    std::vector<int> SceneStarts() const
    {
        std::vector<int> starts;
        for (const TimelineEntry& entry : SceneHandler::Instance()->GetTimeline().Entries())
            starts.push_back(static_cast<int>(std::ceil(entry.time / Step)));
        starts.push_back(Frames);
        return starts;
    }

    // Fails one call of the frame about to run with a lost device: an operation the previous frame
    // made (and which reports a result), at a random one of as many calls as it made then.
    void FailACallOfTheNextFrame(const std::array<size_t, kOpCount>& perFrame, std::mt19937& random)
    {
        std::vector<Op> candidates;
        for (size_t op = 0; op < kOpCount; ++op)
            if (perFrame[op] > 0 && static_cast<Op>(op) != Op::Present)
                candidates.push_back(static_cast<Op>(op));
        ASSERT_FALSE(candidates.empty());
        std::shuffle(candidates.begin(), candidates.end(), random);
        for (const Op op : candidates) {
            const size_t index = recorder->Count(op) + random() % perFrame[static_cast<size_t>(op)];
            try {
                recorder->FailCall(op, index, D3DERR_DEVICELOST);
                failedCall = {op, index};
                return;
            } catch (const std::invalid_argument&) {
                // an operation that reports no result: try another
            }
        }
        FAIL() << "no operation of the frame reports a result";
    }

    // What was planned to fail in a frame, for messages.
    std::string Planned(int frame) const
    {
        std::string planned = lossAtPresent.contains(frame) ? "; planned: a loss at Present" : "";
        if (failedCall)
            planned += "; planned: a loss from " + std::string(OpName(failedCall->first)) + " #" +
                       std::to_string(failedCall->second);
        return planned;
    }

    std::set<int> lossAtPresent;
    std::optional<std::pair<Op, size_t>> failedCall;
    std::vector<std::string> failedCalls;
};

TEST_F(WholeShowDeviceLossTest, LostDevicesAllThroughTheShowAreRecoveredWithNothingLeaked)
{
    const Census baseline = LiveCensus(*recorder);
    ASSERT_GT(baseline.at(ObjectKind::Texture), 0u);

    std::mt19937 random(20261207);
    const std::vector<int> starts = SceneStarts();
    ASSERT_EQ(starts.size(), 10u) << "nine scenes in the timeline";
    for (size_t scene = 0; scene + 1 < starts.size(); ++scene)
        lossAtPresent.insert(starts[scene] + 1 + int(random() % unsigned(starts[scene + 1] - starts[scene] - 1)));
    std::set<int> callFailures;
    while (callFailures.size() < FailedCallFrames) {
        const int frame = 1 + int(random() % (Frames - 2));
        if (!lossAtPresent.contains(frame))
            callFailures.insert(frame);
    }

    std::array<size_t, kOpCount> before{}, perFrame{};
    size_t resets = 0;
    for (int frame = 0; frame < Frames; ++frame) {
        if (lossAtPresent.contains(frame))
            recorder->FailCall(Op::Present, recorder->Count(Op::Present), D3DERR_DEVICELOST);
        if (callFailures.contains(frame))
            FailACallOfTheNextFrame(perFrame, random);
        for (size_t op = 0; op < kOpCount; ++op)
            before[op] = recorder->Count(static_cast<Op>(op));

        Timer::SetFrameClock(frame * Step, Step);
        try {
            framework->StepFrame();
        } catch (const FrameworkEx& e) {
            FAIL() << "frame " << frame << " (" << frame * Step << " s) threw: " << e.message << Planned(frame);
        } catch (const std::exception& e) {
            FAIL() << "frame " << frame << " (" << frame * Step << " s) threw: " << e.what() << Planned(frame);
        }
        for (size_t op = 0; op < kOpCount; ++op)
            perFrame[op] = recorder->Count(static_cast<Op>(op)) - before[op];

        if (recorder->Count(Op::Reset) == resets) {
            EXPECT_FALSE(lossAtPresent.contains(frame)) << "frame " << frame << ": the loss at Present went unseen";
            if (failedCall) {
                const auto [op, index] = *failedCall;
                ASSERT_LE(recorder->Count(op), index) << "frame " << frame << ": the lost device from "
                                                      << OpName(op) << " #" << index << " went unseen";
                // This frame made fewer calls of it than the one before: fail one of the next frame.
                recorder->Failures().Clear();
                failedCall.reset();
                callFailures.insert(lossAtPresent.contains(frame + 1) ? frame + 2 : frame + 1);
            }
            continue;
        }
        ++resets;
        EXPECT_TRUE(lossAtPresent.contains(frame) || failedCall) << "frame " << frame << ": a reset nobody asked for";
        if (failedCall)
            failedCalls.push_back(std::string(OpName(failedCall->first)) + " #" + std::to_string(failedCall->second));
        failedCall.reset();
        EXPECT_EQ(recorder->Count(Op::Reset), resets) << "frame " << frame << ": one reset a loss";
        EXPECT_FALSE(recorder->DeviceLost()) << "frame " << frame;
        EXPECT_LT(Timer::GetElapsed(), Step) << "frame " << frame << ": the show clock starts again at 0";
        EXPECT_EQ(LiveCensus(*recorder), baseline)
            << "frame " << frame << ": " << Describe(LiveCensus(*recorder)) << " against " << Describe(baseline);
    }

    EXPECT_EQ(resets, lossAtPresent.size() + FailedCallFrames) << "calls failed: " << ::testing::PrintToString(failedCalls);
    EXPECT_EQ(failedCalls.size(), size_t(FailedCallFrames));
    EXPECT_GE(Timer::GetElapsed(), (Frames - 1) * Step);
    EXPECT_EQ(SceneHandler::Instance()->GetCurrentScene()->GetName(), "TindrevikEnd");
    EXPECT_EQ(LiveCensus(*recorder), baseline);
    EXPECT_TRUE(boxes.empty()) << boxes.front();
}
