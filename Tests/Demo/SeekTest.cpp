// Seeks on the Recorder: a state put back from prepared ones and stepped on is the state a run from
// 0 has at the time, forwards, backwards and a step at a time; what a seek that may not wait does
// without a state near; the states' file form, whole, cut short and out of range; the preparing
// process's pipe; and the maker's mode drawing each scene early without changing the show.
#include "Demo/ShowScenesFixture.h"

#include "Demo/TimeControl/PreparedShowStates.h"
#include "Demo/TimeControl/ShowStateFile.h"
#include "Demo/TimeControl/StatePreparation.h"
#include "Framework/FrameworkEx.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Framework/Timer/Timer.h"
#include "Framework/Transport/SceneWarmUp.h"
#include "Framework/SceneHandler/Scene.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <numeric>
#include <sstream>

namespace {

const char* const ShortTimeline = "0 TindreVikIntro\n1.5 TindrevikInsideCube\n3 TindrevikScroller\n";

} // namespace

class SeekTest : public ShowScenesFixture {
protected:
    void OpenShortShow()
    {
        framework.reset();
        Assemble({{"Data\\events\\Scenes.txt", Bytes(ShortTimeline)}});
    }

    // A run from 0 at 60 frames a second to the last time; the state after the frame at each.
    std::map<int64_t, ShowState> RunFromZero(const std::vector<int64_t>& steps)
    {
        OpenShortShow();
        std::map<int64_t, ShowState> states;
        for (int64_t step = 1; step <= steps.back(); ++step) {
            Timer::SetFrameClock(SceneHandler::StepTime(step), SceneHandler::StepSeconds);
            framework->StepFrameUndrawn();
            if (std::find(steps.begin(), steps.end(), step) != steps.end())
                states[step] = CaptureShowState();
        }
        return states;
    }

    // The frame the player draws after a seek, at the step's time.
    ShowState FrameAt(int64_t step)
    {
        Timer::SetFrameClock(SceneHandler::StepTime(step), 0.001);
        framework->StepFrameUndrawn();
        return CaptureShowState();
    }
};

TEST_F(SeekTest, ASeekLandsOnTheStateARunFromZeroHasForwardsBackwardsAndStepByStep)
{
    const std::map<int64_t, ShowState> truth = RunFromZero({70, 71, 150, 151, 250});
    std::vector<ShowState> prepared;
    OpenShortShow();
    PrepareStates(*framework, [&](const ShowState& state) { prepared.push_back(state); }, 5.0);
    ASSERT_EQ(prepared.size(), 10u) << "at 0, every quarter second of the intro (to 1.5 s), then after each whole second";

    OpenShortShow();
    PreparedShowStates states(*framework, "", "");
    states.Loaded();
    for (const ShowState& state : prepared)
        states.Cache().Store(state);
    EXPECT_TRUE(states.SeekTo(250 / 60.0, true));
    EXPECT_TRUE(FrameAt(250) == truth.at(250)) << "forwards, in the scroller";
    EXPECT_TRUE(states.SeekTo(150 / 60.0, true));
    EXPECT_TRUE(FrameAt(150) == truth.at(150)) << "backwards, into the box scene";
    EXPECT_TRUE(states.SeekTo(151 / 60.0, true));
    EXPECT_TRUE(FrameAt(151) == truth.at(151)) << "a step on";
    EXPECT_TRUE(states.SeekTo(70 / 60.0, true));
    EXPECT_TRUE(FrameAt(70) == truth.at(70)) << "back into the intro";
    EXPECT_TRUE(states.SeekTo(71 / 60.0, true));
    EXPECT_TRUE(FrameAt(71) == truth.at(71));
    EXPECT_TRUE(SceneHandler::Instance()->OnTrueCourse());

    // Data changed at 1.5 s: the states from there go, and a preparation made before the change
    // has none to add there; a seek that may not wait to 4.2 s then has none near.
    states.InvalidateFrom(1.5);
    EXPECT_EQ(states.Cache().Count(), 6u) << "0 s to 1.25 s stay";
    states.Cache().StorePrepared(prepared[8]);
    EXPECT_EQ(states.Cache().Count(), 6u) << "a stale prepared state (3 s) is refused";
    EXPECT_FALSE(states.SeekTo(4.2, false));
    EXPECT_EQ(SceneHandler::Instance()->StepsTaken(), 71) << "a seek that gives up changes nothing";
}

TEST_F(SeekTest, StatesGoThroughTheirFileFormWholeAndABrokenOneIsNamed)
{
    OpenShortShow();
    std::vector<ShowState> prepared;
    PrepareStates(*framework, [&](const ShowState& state) { prepared.push_back(state); }, 2.0);
    std::ostringstream out;
    showstates::WriteHeader(out);
    for (const ShowState& state : prepared)
        showstates::WriteState(out, state);
    const std::string bytes = out.str();

    std::istringstream in(bytes);
    showstates::ReadHeader(in, "states.bin");
    for (const ShowState& state : prepared) {
        const std::optional<ShowState> read = showstates::ReadState(in, "states.bin");
        ASSERT_TRUE(read);
        EXPECT_TRUE(*read == state);
    }
    EXPECT_FALSE(showstates::ReadState(in, "states.bin")) << "a clean end";

    const auto faultOf = [](const std::string& text) {
        std::istringstream broken(text);
        try {
            showstates::ReadHeader(broken, "states.bin");
            while (showstates::ReadState(broken, "states.bin")) {
            }
        } catch (const FrameworkEx& e) {
            return e.message;
        }
        return std::string("(accepted)");
    };
    EXPECT_EQ(faultOf(bytes.substr(0, bytes.size() - 5)), "states.bin: a state is cut short");
    EXPECT_EQ(faultOf("PNG\x0d" + bytes.substr(4)), "states.bin: not a file of the show's states");
    std::string huge = bytes;
    const int32_t tooMany = 7001;
    // The field's count follows the header (8 bytes), the steps (8) and the generator (4).
    huge.replace(20, sizeof(tooMany), reinterpret_cast<const char*>(&tooMany), sizeof(tooMany));
    EXPECT_EQ(faultOf(huge), "states.bin: a particle count beyond the field's capacity");
}

// The preparing process writes to descriptor 3. In a process with no other files open the pipe's
// read end is descriptor 3 itself, which the child must close before the writing end goes there.
TEST_F(SeekTest, APreparingProcessHandsItsStatesOverWhateverDescriptorsThePipeHas)
{
    OpenShortShow();
    std::vector<ShowState> prepared;
    PrepareStates(*framework, [&](const ShowState& state) { prepared.push_back(state); }, 2.0);
    std::ofstream stream("states.bin", std::ios::binary);
    showstates::WriteHeader(stream);
    showstates::WriteState(stream, prepared.back());
    stream.close();
    const std::filesystem::path preparer = std::filesystem::absolute("preparer.sh");
    std::ofstream(preparer) << "#!/bin/sh\ncat '" << std::filesystem::absolute("states.bin").string() << "' >&3\n";
    std::filesystem::permissions(preparer, std::filesystem::perms::owner_all);

    OpenShortShow();
    PreparedShowStates states(*framework, preparer.string(), "");
    states.Loaded();
    EXPECT_TRUE(states.Cache().WaitForState(prepared.back().steps, 0, std::chrono::seconds(30)))
        << "the state the preparing process wrote arrived";
    EXPECT_EQ(states.Cache().Count(), 2u) << "the state at 0 and the prepared one";
}

// The maker's mode draws each scene early, by jumps there and back: the show goes on exactly as a
// run from 0 does.
TEST_F(SeekTest, TheWarmUpDrawsEverySceneAndTheShowGoesOnAsARunFromZero)
{
    std::vector<int64_t> steps(8);
    std::iota(steps.begin(), steps.end(), 1);
    const std::map<int64_t, ShowState> truth = RunFromZero(steps);
    OpenShortShow();
    std::vector<ShowState> prepared;
    // The scroller, the last entry, is drawn 60% of the way to the show's end.
    PrepareStates(*framework, [&](const ShowState& state) { prepared.push_back(state); }, 83.0);
    OpenShortShow();
    auto owned = std::make_unique<PreparedShowStates>(*framework, "", "");
    PreparedShowStates& states = *owned;
    framework->showStates = std::move(owned);
    states.Loaded();
    for (ShowState& state : prepared)
        states.Cache().Store(std::move(state));

    SceneWarmUp warmUp(*framework);
    int warmed = 0;
    for (const int64_t step : steps) {
        Timer::SetFrameClock(SceneHandler::StepTime(step), SceneHandler::StepSeconds);
        warmed += warmUp.BeforeFrame();
        framework->StepFrameUnshown(&Scene::Render);
        EXPECT_TRUE(CaptureShowState() == truth.at(step)) << "after the frame at step " << step;
    }
    EXPECT_EQ(warmed, 4) << "the box scene and the scroller, at two times each, from the second frame on";
    EXPECT_TRUE(warmUp.Done());
}
