#include "OggDecode.h"
#include "Support/ArchiveFixture.h"
#include "Tools/ToolRun.h"

#include <gtest/gtest.h>

namespace {

class SynthCliTest : public ArchiveFixture {};

const std::string TwoBars = "tempo 120\nbars 2\ninstrument bleep synth\n  wave square  release 0.01\nend\n"
                            "pattern p\n  steps 4\n  notes A4 . C5 .\nend\narrangement\n  0-1 bleep p\nend\n";

TEST_F(SynthCliTest, WritesAVorbisFileOfTheSongsLength)
{
    WriteText("song.score", TwoBars);
    const ToolRun run = Invoke(QL_SYNTH, {"song.score", "-o", "song.ogg"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");
    const auto decoded = synthtest::DecodeOgg(ReadWholeFile("song.ogg"));
    EXPECT_EQ(decoded.left.size(), 4u * 44100u); // two bars of 2 s
}

TEST_F(SynthCliTest, ScoreFaultExitsOneNamingTheFileAndLine)
{
    WriteText("bad.score", "bars 2\ninstrument k kick\n  cutoff 100\nend\n");
    const ToolRun run = Invoke(QL_SYNTH, {"bad.score", "-o", "bad.ogg"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "synth: bad.score:3: unknown setting \"cutoff\" for a kick instrument\n");
    EXPECT_FALSE(std::filesystem::exists("bad.ogg"));

    const ToolRun missing = Invoke(QL_SYNTH, {"missing.score", "-o", "x.ogg"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "synth: missing.score: cannot open the score\n");
}

TEST_F(SynthCliTest, CommandLineFaultsExitTwoAndHelpExitsZero)
{
    WriteText("song.score", TwoBars);
    EXPECT_EQ(Invoke(QL_SYNTH, {}).exitCode, 2);
    EXPECT_EQ(Invoke(QL_SYNTH, {"song.score"}).exitCode, 2); // nothing to write
    EXPECT_EQ(Invoke(QL_SYNTH, {"song.score", "-o"}).exitCode, 2);
    EXPECT_EQ(Invoke(QL_SYNTH, {"song.score", "--loud", "-o", "x.ogg"}).exitCode, 2);
    const ToolRun help = Invoke(QL_SYNTH, {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("Usage: synth SCORE", 0), 0u);
}

TEST_F(SynthCliTest, WavOutputHoldsFloatSamples)
{
    WriteText("song.score", TwoBars);
    ASSERT_EQ(Invoke(QL_SYNTH, {"song.score", "--wav", "song.wav"}).exitCode, 0);
    const auto bytes = ReadWholeFile("song.wav");
    ASSERT_GE(bytes.size(), 58u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
    EXPECT_EQ(bytes[20], 3); // IEEE float
    EXPECT_EQ(bytes.size(), 58u + 4u * 44100u * 2u * 4u);
}

} // namespace
