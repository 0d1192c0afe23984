#include "Support/ArchiveFixture.h"

#include "Framework/SceneHandler/SceneHandler.h"
#include "Framework/Timer/Timer.h"

#include <cmath>
#include <cstdio>
#include <random>

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

std::vector<std::string> Entries(const SceneTimeline& timeline)
{
    std::vector<std::string> out;
    for (const auto& entry : timeline.Entries())
        out.push_back(std::to_string(entry.time).substr(0, 4) + " " + entry.sceneName);
    return out;
}

SceneTimeline Parse(const std::string& text)
{
    SceneTimeline timeline;
    timeline.ParseTimeline(text.data(), text.size(), "Scenes.txt");
    return timeline;
}

} // namespace

TEST(SceneTimelineTest, EntriesAreOrderedByTimeWhateverTheLineOrder)
{
    const auto forward = Parse("0 P\n10 Q\n");
    const auto backward = Parse("10 Q\r\n0 P\r\n");
    EXPECT_EQ(Entries(forward), (std::vector<std::string>{"0.00 P", "10.0 Q"}));
    EXPECT_EQ(Entries(backward), Entries(forward));
}

TEST(SceneTimelineTest, ReadsLinesTheWayTheScanFormatDoes)
{
    // A later line with a time already present is ignored; a line starting with a word is skipped;
    // blank lines change nothing; text after the name is ignored.
    EXPECT_EQ(Entries(Parse("0 P\n\nscene 5 X\n10 Q trailing words\n\n\n10 R\n")),
              (std::vector<std::string>{"0.00 P", "10.0 Q"}));
    // A line holding only a number takes the first word of the next line as its name; that next
    // line is then read again at its own start.
    EXPECT_EQ(Entries(Parse("5\nIntro\n7 Outro")), (std::vector<std::string>{"5.00 Intro", "7.00 Outro"}));
    EXPECT_EQ(Entries(Parse("  2.5e1\tLate")), (std::vector<std::string>{"25.0 Late"}));
}

namespace {

// The timeline as inserting line by line reads it: each line scanned from its first character with
// "%f %s" (times that order nothing are no entry) and handed to InsertEntry.
std::vector<std::string> InsertedLineByLine(const std::string& text)
{
    SceneTimeline timeline;
    std::vector<char> name(text.size() + 1);
    for (size_t i = 0; i < text.size();) {
        float time = 0.0f;
        if (std::sscanf(text.c_str() + i, "%f %s", &time, name.data()) == 2 && std::isfinite(time))
            timeline.InsertEntry(time, name.data());
        const size_t lineEnd = text.find('\n', i);
        i = lineEnd == std::string::npos ? text.size() : lineEnd + 1;
    }
    return Entries(timeline);
}

} // namespace

TEST(SceneTimelineTest, ParsingGivesWhatInsertingEveryLineGives)
{
    const std::vector<std::string> pieces = {"0",  "10", "2.5", "-1", "7e1", "-0", "0x1p3", "P", "Q", "Intro", "nan",
                                             " ",  " ",  "\t",  "\n", "\n",  "\n",   "\r\n", "\n\n\n"};
    std::mt19937 random(11);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const size_t count = random() % 40;
        for (size_t i = 0; i < count; ++i)
            text += pieces[random() % pieces.size()] + (random() % 2 ? " " : "");
        const std::vector<std::string> expected = InsertedLineByLine(text);
        try {
            EXPECT_EQ(Entries(Parse(text)), expected) << "text: \"" << text << "\"";
        } catch (const FrameworkEx&) {
            EXPECT_TRUE(expected.empty()) << "text: \"" << text << "\"";
        }
    }
}

TEST(SceneTimelineTest, TextWithoutEntriesIsAConfigurationError)
{
    for (const std::string text : {"", "\n\n", "intro 0\n", "12\n", "nan Intro\ninf Outro\n"}) {
        SceneTimeline timeline;
        try {
            timeline.ParseTimeline(text.data(), text.size(), "Data\\events\\Scenes.txt");
            ADD_FAILURE() << "accepted \"" << text << "\"";
        } catch (const FrameworkEx& e) {
            EXPECT_EQ(e.message,
                      "[SceneTimeline::LoadTimeline]: No entry (seconds and scene name) found in "
                      "\"Data\\events\\Scenes.txt\"");
        }
    }
}

TEST(SceneTimelineTest, FindEntryWalksBothWaysFromTheLastPosition)
{
    auto timeline = Parse("0 A\n10 B\n20 C\n30 D\n");
    EXPECT_EQ(timeline.FindEntry(-0.1f), 0);
    EXPECT_EQ(timeline.FindEntry(25.0f), 2);
    EXPECT_EQ(timeline.FindEntry(30.0f), 3);
    EXPECT_EQ(timeline.FindEntry(1000.0f), 3);
    EXPECT_EQ(timeline.FindEntry(10.0f), 1);
    EXPECT_EQ(timeline.FindEntry(9.99f), 0);
    EXPECT_EQ(SceneTimeline{}.FindEntry(3.0f), -1);

    std::string name;
    EXPECT_TRUE(timeline.CheckChange(12.0f, name));
    EXPECT_EQ(name, "B");
    EXPECT_FALSE(timeline.CheckChange(15.0f, name));
    EXPECT_TRUE(timeline.CheckChange(0.0f, name));
    EXPECT_EQ(name, "A");
}

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
