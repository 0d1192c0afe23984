#include "Support/ArchiveFixture.h"

#include "Framework/SceneHandler/SceneTimeline.h"

#include <cmath>
#include <cstdio>
#include <random>

namespace {

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
