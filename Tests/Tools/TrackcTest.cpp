#include "Support/ArchiveFixture.h"
#include "Tools/ToolRun.h"

#include "sync/trackfile.h"

#include <cstring>

namespace {

class TrackcTest : public ArchiveFixture {};

// Awkward floats: ones with no short decimal form, the extremes, a subnormal and negative zero.
const std::string CanonicalTrack = "0 0.1 step\n"
                                   "7 -0 linear\n"
                                   "3 3.4028235e+38 cosine\n"
                                   "4294967295 1e-45 quadratic\n"
                                   "12 16777216 linear\n"
                                   "13 0.33333334 step\n";

uint32_t Bits(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

TEST_F(TrackcTest, TextRoundTripsExactlyThroughTheTrackFile)
{
    WriteText("in.txt", CanonicalTrack);
    ASSERT_EQ(Invoke(QL_TRACKC, {"in.txt", "-o", "in.track"}).exitCode, 0);

    const auto bytes = ReadWholeFile("in.track");
    const auto records = DecodeTrackRecords(bytes.data(), bytes.size());
    ASSERT_EQ(records.size(), 6u);
    EXPECT_EQ(bytes.size(), TrackHeaderSize + 6 * TrackRecordSize);
    EXPECT_EQ(records[1].row, 7u);
    EXPECT_EQ(Bits(records[1].value), Bits(-0.0f));
    EXPECT_EQ(records[1].type, 1);
    EXPECT_EQ(records[3].row, 4294967295u);
    EXPECT_EQ(records[3].value, 1e-45f);
    EXPECT_EQ(records[3].type, 3);

    ASSERT_EQ(Invoke(QL_TRACKC, {"--decompile", "in.track", "-o", "out.txt"}).exitCode, 0);
    EXPECT_EQ(ReadText("out.txt"), CanonicalTrack);
}

TEST_F(TrackcTest, CommentsBlanksAndLineEndsAreIgnored)
{
    WriteText("in.txt", "# Fade\n\n  0\t0.5  linear   # half\r\n32 1 step#end\n   \n");
    ASSERT_EQ(Invoke(QL_TRACKC, {"in.txt", "-o", "in.track"}).exitCode, 0);
    ASSERT_EQ(Invoke(QL_TRACKC, {"--decompile", "in.track", "-o", "out.txt"}).exitCode, 0);
    EXPECT_EQ(ReadText("out.txt"), "0 0.5 linear\n32 1 step\n");
}

TEST_F(TrackcTest, FaultsNameTheFileAndLine)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"0 0 step\n1 x step\n", "bad.txt:2: bad value 'x': expected a number"},
        {"0 0 step\n\n1 0 Linear\n", "bad.txt:3: unknown interpolation 'Linear'"},
        {"-1 0 step\n", "bad.txt:1: row -1 is negative"},
        {"4294967296 0 step\n", "bad.txt:1: row 4294967296 is larger than 4294967295"},
        {"1.5 0 step\n", "bad.txt:1: bad row '1.5': expected a whole number"},
        {"5 0 step\n# again\n5 1 linear\n", "bad.txt:3: duplicate row 5 (first given on line 1)"},
        {"0 1e39 step\n", "bad.txt:1: bad value '1e39'"},
        {"0 nan step\n", "bad.txt:1: bad value 'nan'"},
        {"0 0 step extra\n", "bad.txt:1: expected 3 fields (row value interpolation), found 4"},
    };
    for (const auto& [text, message] : cases) {
        WriteText("bad.txt", text);
        const ToolRun run = Invoke(QL_TRACKC, {"bad.txt", "-o", "bad.track"});
        EXPECT_EQ(run.exitCode, 1) << text;
        EXPECT_EQ(run.err.rfind("trackc: " + message, 0), 0u) << run.err;
        EXPECT_FALSE(std::filesystem::exists("bad.track"));
    }
}

TEST_F(TrackcTest, DecompileRefusesFilesTheTextCannotHold)
{
    const auto track = [](std::vector<TrackRecord> records) { return EncodeTrackRecords(records); };
    auto overrun = track({{1, 1.0f, 0}});
    overrun[0] = 2;
    auto trailing = track({{1, 1.0f, 0}});
    trailing.push_back(0);
    const std::vector<std::pair<std::vector<unsigned char>, std::string>> cases = {
        {track({{0, 0.0f, 1}, {5, 1.0f, 4}}), "key 1 (row 5) has interpolation kind 4, expected 0 to 3"},
        {track({{0, 0.0f, -1}}), "key 0 (row 0) has interpolation kind -1"},
        {overrun, "the key count 2 needs 22 bytes but the file holds 13"},
        {trailing, "1 bytes follow the 1 counted keys"},
        {{1, 0}, "only 2 bytes"},
        {track({{3, 0.0f, 0}, {3, 1.0f, 0}}), "key 1 (row 3) repeats the row of key 0"},
    };
    for (const auto& [bytes, fault] : cases) {
        WriteWholeFile("bad.track", bytes);
        const ToolRun run = Invoke(QL_TRACKC, {"--decompile", "bad.track", "-o", "bad.txt"});
        EXPECT_EQ(run.exitCode, 1) << fault;
        EXPECT_EQ(run.err.rfind("trackc: bad.track: " + fault, 0), 0u) << run.err;
    }
}

TEST_F(TrackcTest, UsageErrorsExitWithTwo)
{
    WriteText("in.txt", "0 0 step\n");
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"in.txt"}, {"-o", "x.track"}, {"in.txt", "more.txt", "-o", "x.track"}, {"in.txt", "-o", "a", "-o", "b"},
             {"--decompile"}, {"-x", "in.txt", "-o", "x.track"}})
        EXPECT_EQ(Invoke(QL_TRACKC, args).exitCode, 2) << ::testing::PrintToString(args);
    EXPECT_EQ(Invoke(QL_TRACKC, {"missing.txt", "-o", "x.track"}).err, "trackc: missing.txt: cannot open the file\n");
}

} // namespace
