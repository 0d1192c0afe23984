// The scene handler over a timeline: which scene is current, and the slots it drives.
#include "Support/ArchiveFixture.h"

#include "Framework/SceneHandler/SceneHandler.h"
#include "Framework/Timer/Timer.h"

namespace {

// Records the slots the timeline drives, in order, into a log shared by every scene.
class LoggingScene : public Scene {
public:
    LoggingScene(const std::string& name, std::vector<std::string>& log) : Scene(name), log(log) {}

    void Render() override { log.push_back("Render " + GetName()); }
    void Update() override { log.push_back("Update " + GetName()); }
    void Activate() override { log.push_back("Activate " + GetName()); }
    void Deactivate() override { log.push_back("Deactivate " + GetName()); }
    void Load() override { log.push_back("Load " + GetName()); }
    void Unload() override { log.push_back("Unload " + GetName()); }
    void Start() override { log.push_back("Start " + GetName()); }
    void SetFrameConstants() override { log.push_back("Constants " + GetName()); }

private:
    std::vector<std::string>& log;
};

// Keeps the clock each step saw, and the scene's name at each.
class SteppingScene : public LoggingScene {
public:
    using LoggingScene::LoggingScene;
    void Step() override { steps.push_back({Timer::GetElapsed(), Timer::GetDelta()}); }
    std::vector<std::pair<double, double>> steps;
};

} // namespace

class SceneHandlerTest : public ArchiveFixture {
protected:
    void SetUp() override
    {
        ArchiveFixture::SetUp();
        ArchiveWriter writer;
        writer.Add("Data\\events\\Scenes.txt", Bytes("0 P\n10 Q\n20 Q\n"));
        Mount(writer);
        handler = std::make_unique<SceneHandler>();
    }

    void AddScenes(std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            handler->AddScene(std::make_unique<LoggingScene>(name, log));
    }

    std::vector<std::string> RunAt(double showTime)
    {
        log.clear();
        Timer::SetFrameClock(showTime, Timer::GetDelta());
        handler->Update();
        return log;
    }

    Timer timer;
    std::unique_ptr<SceneHandler> handler;
    std::vector<std::string> log;
};

TEST_F(SceneHandlerTest, TheLastAddedSceneIsCurrentUntilTheFirstFrame)
{
    AddScenes({"P", "Q"});
    EXPECT_EQ(handler->GetCurrentScene()->GetName(), "Q");
    EXPECT_EQ(RunAt(-0.1), (std::vector<std::string>{"Deactivate Q", "Activate P", "Start P", "Constants P", "Update P"}));
    EXPECT_EQ(RunAt(5.0), (std::vector<std::string>{"Constants P", "Update P"}));
    EXPECT_EQ(RunAt(10.0), (std::vector<std::string>{"Deactivate P", "Activate Q", "Start Q", "Constants Q", "Update Q"}));
}

TEST_F(SceneHandlerTest, ConsecutiveEntriesOfOneSceneAndBackwardTimeBothSwitch)
{
    AddScenes({"P", "Q"});
    RunAt(15.0);
    EXPECT_EQ(RunAt(20.0), (std::vector<std::string>{"Deactivate Q", "Activate Q", "Start Q", "Constants Q", "Update Q"}));
    EXPECT_EQ(RunAt(0.0), (std::vector<std::string>{"Deactivate Q", "Activate P", "Start P", "Constants P", "Update P"}));
}

TEST_F(SceneHandlerTest, DuplicateSceneIsRefusedAndTheFirstStays)
{
    AddScenes({"P"});
    try {
        handler->AddScene(std::make_unique<LoggingScene>("P", log));
        FAIL() << "no exception";
    } catch (const FrameworkEx& e) {
        EXPECT_EQ(e.message, "[SceneHandler::AddScene]: Scene \"P\" already added.");
    }
    EXPECT_EQ(handler->Scenes().size(), 1u);
}

TEST_F(SceneHandlerTest, TimelineNamingAnUnknownSceneIsReportedByName)
{
    AddScenes({"P"});
    RunAt(1.0);
    try {
        RunAt(12.0);
        FAIL() << "no exception";
    } catch (const FrameworkEx& e) {
        EXPECT_EQ(e.message, "[SceneHandler::Update]: The timeline names scene \"Q\", which was never added");
    }
    EXPECT_EQ(handler->GetCurrentScene()->GetName(), "P") << "the current scene is left as it was";
}

TEST_F(SceneHandlerTest, DeviceLifecycleVisitsScenesInNameOrder)
{
    AddScenes({"b", "Z", "a"});
    handler->ActivateAndDeactivateAll();
    handler->LoadAll();
    handler->UnloadAll();
    EXPECT_EQ(log, (std::vector<std::string>{"Activate Z", "Deactivate Z", "Activate a", "Deactivate a", "Activate b",
                                             "Deactivate b", "Load Z", "Load a", "Load b", "Unload Z", "Unload a",
                                             "Unload b"}));
}

TEST_F(SceneHandlerTest, MissingTimelineFileIsReportedWithItsPath)
{
    handler.reset();
    Mount(ArchiveWriter{});
    try {
        SceneHandler again;
        FAIL() << "no exception";
    } catch (const FrameworkEx& e) {
        EXPECT_EQ(e.message, "No script file found: \"Data\\events\\Scenes.txt\"");
    }
    EXPECT_EQ(SceneHandler::Instance(), nullptr) << "a failed construction leaves no instance behind";
}

TEST_F(SceneHandlerTest, StepsFollowTheClockInSixtiethsOfASecondAndALongStallIsBounded)
{
    auto scene = std::make_unique<SteppingScene>("P", log);
    SteppingScene& p = *scene;
    handler->AddScene(std::move(scene));
    RunAt(-0.05);
    EXPECT_TRUE(p.steps.empty()) << "no step before 0";
    Timer::SetFrameClock(0.2, 0.25);
    handler->Update();
    ASSERT_EQ(p.steps.size(), 12u) << "a frame of 0.2 s runs 12 steps";
    EXPECT_EQ(p.steps[0], (std::pair<double, double>{1.0 / 60.0, 1.0 / 60.0}));
    EXPECT_EQ(p.steps[11].first, 12.0 / 60.0);
    EXPECT_EQ(Timer::GetElapsed(), 0.2) << "the frame sees its own clock again";
    EXPECT_EQ(Timer::GetDelta(), 0.25);
    RunAt(0.21);
    EXPECT_EQ(p.steps.size(), 12u) << "a frame within the step takes none";
    RunAt(0.1);
    RunAt(0.15);
    EXPECT_EQ(p.steps.size(), 15u) << "after the clock went back the steps go on from its time";

    handler->SetMostStepsPerUpdate(30);
    RunAt(9.0);
    EXPECT_EQ(p.steps.size(), 45u);
    EXPECT_EQ(p.steps.back().first, 9.0);
    EXPECT_EQ(handler->StepsTaken(), 540);
}
