// Files saved under a running show in the maker's mode. A sync track: the kept states before the
// first time the change affects stay, those after go and prepared ones from the old files no
// longer come back, and a seek then lands on the state a run from 0 with the new track has.
#include "Demo/ShowScenesFixture.h"

#include "Demo/TimeControl/PreparedShowStates.h"
#include "Demo/TimeControl/StatePreparation.h"
#include "Framework/LiveReload/LiveData.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Framework/Timer/Timer.h"
#include "sync/track.h"

#include <algorithm>

namespace {

const char* const ShortTimeline = "0 TindreVikIntro\n1.5 TindrevikInsideCube\n3 TindrevikScroller\n";
constexpr int64_t Target = 250; // 4.17 s, in the scroller

} // namespace

class LiveSeekTest : public ShowScenesFixture {
protected:
    // The field's force stays at 1, or becomes force from row 64 (3.75 s, a step key) on.
    static std::vector<unsigned char> FieldForce(float force)
    {
        return Track({{0, 1.0f, int8_t(SyncKey::Step)}, {64, force, int8_t(SyncKey::Step)}});
    }

    ShowState StateAtTargetRunFromZero(float force)
    {
        framework.reset();
        Assemble({{"Data\\events\\Scenes.txt", Bytes(ShortTimeline)}, {"Data\\sync_Particles_FieldForce.track", FieldForce(force)}});
        for (int64_t step = 1; step <= Target; ++step) {
            Timer::SetFrameClock(SceneHandler::StepTime(step), SceneHandler::StepSeconds);
            framework->StepFrameUndrawn();
        }
        return CaptureShowState();
    }
};

TEST_F(LiveSeekTest, ATrackChangeDropsTheStatesFromItsFirstAffectedTimeOnAndASeekLandsOnTheNewTruth)
{
    const ShowState before = StateAtTargetRunFromZero(1.0f);
    const ShowState truth = StateAtTargetRunFromZero(3.0f);
    ASSERT_FALSE(truth == before) << "the track moves the scroller's particles";

    framework.reset();
    std::filesystem::create_directories("loose/Data");
    Assemble({{"Data\\events\\Scenes.txt", Bytes(ShortTimeline)}, {"Data\\sync_Particles_FieldForce.track", FieldForce(1.0f)}},
             "--dev --data loose");
    std::vector<ShowState> prepared;
    PrepareStates(*framework, [&](const ShowState& state) { prepared.push_back(state); }, 5.0);
    ASSERT_EQ(prepared.size(), 10u) << "at 0, every quarter second of the intro, then after each whole second";
    framework.reset();
    Assemble({{"Data\\events\\Scenes.txt", Bytes(ShortTimeline)}, {"Data\\sync_Particles_FieldForce.track", FieldForce(1.0f)}},
             "--dev --data loose");
    auto owned = std::make_unique<PreparedShowStates>(*framework, "", "");
    PreparedShowStates& states = *owned;
    framework->showStates = std::move(owned);
    states.Loaded();
    for (const ShowState& state : prepared)
        states.Cache().Store(state);
    ASSERT_TRUE(states.SeekTo(Target / 60.0, true));
    Timer::SetFrameClock(SceneHandler::StepTime(Target), 0.001);
    framework->StepFrameUndrawn();

    WriteWholeFile("loose/Data/sync_Particles_FieldForce.track", FieldForce(3.0f));
    framework->Live()->Poll(LiveData::Clock::now() - std::chrono::seconds(1));
    framework->ApplySavedFiles();

    std::vector<int64_t> kept;
    for (const auto& [step, state] : states.Cache().Copy())
        kept.push_back(step);
    EXPECT_EQ(kept, (std::vector<int64_t>{0, 15, 30, 45, 60, 75, 90, 120, 180})) << "the states before 3.75 s stay";
    EXPECT_FALSE(SceneHandler::Instance()->OnTrueCourse()) << "the steps past 3.75 s went by the old track";
    states.Cache().StorePrepared(prepared.back());
    EXPECT_EQ(states.Cache().Count(), 9u) << "a state prepared from the old track is refused";

    ASSERT_TRUE(states.SeekTo(Target / 60.0, true));
    Timer::SetFrameClock(SceneHandler::StepTime(Target), 0.001);
    framework->StepFrameUndrawn();
    EXPECT_TRUE(CaptureShowState() == truth) << "the seek lands on the state a run with the new track has";
}

// The scroller looks its emitters up by name at every step, so a saved scene file moves them at
// once; one without them is refused.
TEST_F(LiveSeekTest, ASceneFileSavedMovesTheEmittersTheParticlesComeFrom)
{
    std::filesystem::create_directories("loose/Data");
    Assemble({{"Data\\events\\Scenes.txt", Bytes(ShortTimeline)}}, "--dev --data loose");
    int64_t step = 0;
    const auto stepTo = [&](int64_t last) {
        while (step < last) {
            Timer::SetFrameClock(SceneHandler::StepTime(++step), SceneHandler::StepSeconds);
            framework->StepFrameUndrawn();
        }
    };
    const auto bornFarAway = [&] {
        const std::vector<D3DXVECTOR3>& positions = CaptureShowState().fieldPositions;
        return std::count_if(positions.begin(), positions.end(), [](const D3DXVECTOR3& p) { return p.x > 400.0f; });
    };
    stepTo(200);
    ASSERT_EQ(SceneHandler::Instance()->GetCurrentScene()->GetName(), "TindrevikScroller");
    ASSERT_EQ(bornFarAway(), 0);

    std::string moved = "<scene><cameras><camera name=\"Camscroller\"/></cameras><lights>";
    for (int i = 1; i <= 3; ++i)
        moved += "<spot name=\"emitter" + std::to_string(i) + "_scroller\" translation=\"" + std::to_string(500 + i) +
                 " 0 0\" radius=\"10\" coneangle=\"0.5\"/>";
    WriteWholeFile("loose/Data/Tindrevik_scrollerScene.xml", Bytes(moved + "</lights></scene>"));
    framework->Live()->Poll(LiveData::Clock::now() - std::chrono::seconds(1));
    framework->ApplySavedFiles();
    ASSERT_TRUE(framework->Reloads()->Problems().empty());
    stepTo(230);
    EXPECT_GT(bornFarAway(), 0) << "the particles born after the save come from the moved emitters";

    // Without an emitter the scene could not step: the file is refused and the moved ones stay.
    WriteWholeFile("loose/Data/Tindrevik_scrollerScene.xml",
                   Bytes("<scene><cameras><camera name=\"Camscroller\"/></cameras><lights/></scene>"));
    framework->Live()->Poll(LiveData::Clock::now() - std::chrono::seconds(1));
    framework->ApplySavedFiles();
    ASSERT_EQ(framework->Reloads()->Problems().size(), 1u);
    EXPECT_EQ(framework->Reloads()->Problems()[0].message,
              "[TindrevikScroller::LoadSceneData] The scene file \"Tindrevik_scrollerScene.xml\" has no spot light "
              "\"emitter1_scroller\"");
    stepTo(240);
}
