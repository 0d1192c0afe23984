#include "Framework/LiveReload/ReloadHub.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

class ReloadHubTest : public ::testing::Test {
protected:
    std::ostringstream errors;
    ReloadHub hub{errors};
};

} // namespace

TEST_F(ReloadHubTest, EachWatcherOfTheChangedEntriesReloadsOnceAndGoneWatchersNever)
{
    std::vector<std::string> ran;
    auto effect = hub.Watch({"OShaders\\a.fxo", "Shaders\\common.fxh", "Data\\dots.png"}, [&] { ran.push_back("effect"); });
    auto track = hub.Watch({"Data\\sync_Fade.track"}, [&] { ran.push_back("track"); });
    {
        auto gone = hub.Watch({"Data\\sync_Fade.track"}, [&] { ran.push_back("gone"); });
    }
    // A reload that ends watchers due in the same round (a scene file's objects) and itself.
    ReloadHub::Subscription ender, later;
    ender = hub.Watch({"Data\\scene.xml"}, [&] {
        ran.push_back("ender");
        later = ReloadHub::Subscription();
        ender = ReloadHub::Subscription();
    });
    later = hub.Watch({"Data\\anim\\x"}, [&] { ran.push_back("later"); });

    EXPECT_EQ(hub.Reload({"OShaders\\a.fxo", "Data\\dots.png", "Shaders\\common.fxh", "Data\\sync_Fade.track"}), 2u);
    EXPECT_EQ(ran, (std::vector<std::string>{"effect", "track"}));
    ran.clear();
    EXPECT_EQ(hub.Reload({"Data\\scene.xml", "Data\\anim\\x"}), 1u);
    EXPECT_EQ(ran, std::vector<std::string>{"ender"}) << "a watcher ended by an earlier reload no longer runs";
    EXPECT_EQ(hub.Reload({"Data\\scene.xml"}), 0u);
    EXPECT_EQ(hub.Reload({"Data\\unwatched"}), 0u);
    EXPECT_TRUE(hub.Problems().empty());
}

TEST_F(ReloadHubTest, AFailureStandsWithItsFileAndLineUntilTheReloadSucceeds)
{
    bool broken = true;
    auto effect = hub.Watch({"OShaders\\a.fxo"}, [&] {
        if (broken)
            throw FrameworkEx("Could not Create effect from: a.fx\n\na.fx:12: expected ';'");
    });
    auto curve = hub.Watch({"Data\\anim\\cam.translateX"}, [] { throw FrameworkEx("No animCurve found"); });

    hub.Reload({"OShaders\\a.fxo", "Data\\anim\\cam.translateX"});
    const std::vector<ReloadProblem> problems = hub.Problems();
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].file, "OShaders\\a.fxo");
    EXPECT_EQ(problems[0].line, 12u);
    EXPECT_EQ(problems[1].Text(), "Data\\anim\\cam.translateX: No animCurve found");
    EXPECT_NE(errors.str().find("OShaders\\a.fxo:12: Could not Create effect"), std::string::npos) << errors.str();

    broken = false;
    hub.Reload({"OShaders\\a.fxo"});
    ASSERT_EQ(hub.Problems().size(), 1u);
    EXPECT_NE(errors.str().find("Reloaded OShaders\\a.fxo"), std::string::npos);
    curve = ReloadHub::Subscription();
    EXPECT_TRUE(hub.Problems().empty()) << "a loader that is gone has no problem left";

    hub.SetOutsideProblems("data build", {{"Data/sync/Fade.txt", 3, "bad row"}});
    ASSERT_EQ(hub.Problems().size(), 1u);
    EXPECT_EQ(hub.Problems()[0].Text(), "Data/sync/Fade.txt:3: bad row");
    hub.SetOutsideProblems("data build", {});
    EXPECT_TRUE(hub.Problems().empty());
}

TEST_F(ReloadHubTest, LinesAreReadFromTheUsualForms)
{
    EXPECT_EQ(ReloadHub::LineIn("a.fx:7: unknown state"), 7u);
    EXPECT_EQ(ReloadHub::LineIn("Error in Parse:scenenodes.xml:Error reading end tag. Row 4 Col 2"), 4u);
    EXPECT_EQ(ReloadHub::LineIn("bad value on line 31"), 31u);
    EXPECT_EQ(ReloadHub::LineIn("Error: D3DERR 0:12 no line"), 0u);
    EXPECT_EQ(ReloadHub::LineIn("loadTrack failed on Data\\sync_A.track"), 0u);
}

TEST_F(ReloadHubTest, TheEarliestSimulationChangeIsTakenOnce)
{
    EXPECT_FALSE(hub.TakeSimulationChange());
    hub.ReportSimulationChangeFrom(40.0);
    hub.ReportSimulationChangeFrom(12.5);
    hub.ReportSimulationChangeFrom(80.0);
    EXPECT_EQ(hub.TakeSimulationChange(), 12.5);
    EXPECT_FALSE(hub.TakeSimulationChange());
}

TEST(ReloadHubLifetime, SubscriptionsOutliveTheHubHarmlessly)
{
    std::ostringstream errors;
    ReloadHub::Subscription kept;
    {
        ReloadHub hub(errors);
        kept = hub.Watch({"x"}, [] {});
        EXPECT_TRUE(kept.Active());
        EXPECT_TRUE(ReloadHub::WatchIfLive({"y"}, [] {}).Active());
    }
    EXPECT_FALSE(kept.Active());
    EXPECT_FALSE(ReloadHub::WatchIfLive({"y"}, [] {}).Active()) << "no hub, nothing watched";
}

TEST(ReloadProblemLines, ShortLinesForTheOverlayWithTheRestCounted)
{
    const std::vector<ReloadProblem> problems = {
        {"OShaders\\a.fxo", 3, "Could not Create effect from: a.fx\n\na.fx:3: expected ';'"},
        {"Data\\thing.x", 0, std::string(200, 'x')},
    };
    EXPECT_EQ(ReloadHub::OverlayLines(problems, 40, 10),
              (std::vector<std::string>{"OShaders\\a.fxo:3: Could not Create effec", "  a.fx:3: expected ';'",
                                        "Data\\thing.x: " + std::string(26, 'x')}));
    EXPECT_EQ(ReloadHub::OverlayLines(problems, 40, 2),
              (std::vector<std::string>{"OShaders\\a.fxo:3: Could not Create effec", "(2 more lines on standard error)"}));
}
