#include "Score/ScoreParser.h"
#include "SynthError.h"

#include <gtest/gtest.h>

namespace {

using synth::ParseScore;
using synth::Score;

const std::string Minimal = R"(title A test song
tempo 120
bars 8
instrument lead synth
    wave square  cutoff 1200  attack 0.01 release 0.3
end
instrument kick kick
    pitch 50  decay 0.3
end
pattern beat
    hits X...x...o...X---
end
pattern tune
    steps 4
    window A3
    notes C#5 - R+7 *
end
harmony
    0-3  Am F
end
arrangement
    0-7    kick beat
    2-3:2  lead tune transpose 12 velocity 0.5
end
automation
    4-5  lead.cutoff 300 3000
end
master
    sidechain kick  ceiling -1.5
end
)";

TEST(ScoreParserTest, ReadsEveryPartOfAScore)
{
    const Score score = ParseScore(Minimal, "song.score");
    EXPECT_EQ(score.title, "A test song");
    EXPECT_DOUBLE_EQ(score.SecondsPerBar(), 2.0);
    ASSERT_EQ(score.instruments.size(), 2u);
    EXPECT_EQ(score.instruments[0].wave, synth::Waveform::Square);
    EXPECT_FLOAT_EQ(score.instruments[0].cutoff, 1200.0f);
    EXPECT_FLOAT_EQ(score.instruments[0].amp.release, 0.3f);
    EXPECT_FLOAT_EQ(score.instruments[1].amp.decay, 0.3f);

    const auto& beat = score.patterns[0].steps;
    ASSERT_EQ(beat.size(), 16u);
    EXPECT_EQ(beat[0].kind, synth::Step::Kind::Hit);
    EXPECT_FLOAT_EQ(beat[4].velocity, 0.8f);
    EXPECT_FLOAT_EQ(beat[8].velocity, 0.55f);
    EXPECT_EQ(beat[13].kind, synth::Step::Kind::Hold);

    const auto& tune = score.patterns[1];
    EXPECT_EQ(tune.window, 57);
    EXPECT_EQ(tune.steps[0].value, 73);
    EXPECT_EQ(tune.steps[2].kind, synth::Step::Kind::Root);
    EXPECT_EQ(tune.steps[2].value, 7);
    EXPECT_EQ(tune.steps[3].kind, synth::Step::Kind::Chord);

    ASSERT_EQ(score.harmony.size(), 8u);
    EXPECT_EQ(score.harmony[2]->root, 9); // Am F repeats over 0-3
    EXPECT_EQ(score.harmony[3]->root, 5);
    EXPECT_FALSE(score.harmony[4].has_value());

    ASSERT_EQ(score.arrangement.size(), 2u);
    EXPECT_DOUBLE_EQ(score.arrangement[1].startBar, 2.0);
    EXPECT_DOUBLE_EQ(score.arrangement[1].endBar, 3.5); // to beat 2 of bar 3
    EXPECT_EQ(score.arrangement[1].transpose, 12);
    EXPECT_EQ(score.master.sidechain, 1);
    ASSERT_EQ(score.automation.size(), 1u);
    EXPECT_DOUBLE_EQ(score.automation[0].endBar, 6.0);
}

struct Fault {
    const char* name;
    std::string score;
    std::string message;
};

class ScoreFaultTest : public testing::TestWithParam<Fault> {};

TEST_P(ScoreFaultTest, NamesTheFileLineAndFault)
{
    try {
        ParseScore(GetParam().score, "song.score");
        FAIL() << "accepted a faulty score";
    } catch (const synth::SynthError& error) {
        EXPECT_EQ(std::string(error.what()), GetParam().message);
    }
}

const std::string Bars = "bars 8\n";

INSTANTIATE_TEST_SUITE_P(
    Faults, ScoreFaultTest,
    testing::Values(
        Fault{"UnknownStatement", Bars + "\n# a comment\ntempi 120\n", "song.score:4: unknown statement \"tempi\""},
        Fault{"NoBars", "tempo 120\n", "song.score: the score gives no \"bars\" (the song's length in bars)"},
        Fault{"TempoNotANumber", "tempo fast\nbars 8\n", "song.score:1: \"fast\" is not a number"},
        Fault{"UnknownType", Bars + "instrument x organ\nend\n",
              "song.score:2: unknown instrument type \"organ\" (synth, kick, snare, clap, hat, riser)"},
        Fault{"SettingOfAnotherType", Bars + "instrument k kick\n  decay 0.3\n  cutoff 300\nend\n",
              "song.score:4: unknown setting \"cutoff\" for a kick instrument"},
        Fault{"SettingTheTypeIgnores", Bars + "instrument r riser\n  attack 0.5\nend\n",
              "song.score:3: unknown setting \"attack\" for a riser instrument"},
        Fault{"OutOfRange", Bars + "instrument s synth\n  resonance 2\nend\n",
              "song.score:3: resonance must be between 0 and 0.99, not 2"},
        Fault{"MissingValue", Bars + "instrument s synth\n  attack 0.1 decay\nend\n",
              "song.score:3: setting \"decay\" needs a value"},
        Fault{"BadPoles", Bars + "instrument s synth\n  poles 3\nend\n", "song.score:3: poles must be 2 or 4, not 3"},
        Fault{"BadWave", Bars + "instrument s synth\n  wave noise\nend\n",
              "song.score:3: \"noise\" is not a waveform (sine, saw, square, triangle)"},
        Fault{"MissingEnd", Bars + "instrument s synth\n  attack 0.1\npattern p\n",
              "song.score:2: the \"instrument\" block that starts here has no \"end\""},
        Fault{"DefinedTwice", Bars + "instrument s synth\nend\n\ninstrument s kick\nend\n",
              "song.score:5: instrument \"s\" is defined twice (first on line 2)"},
        Fault{"StepCount", Bars + "pattern p\n  length 2\n  hits X...X...\n  hits X...X...X...X...\nend\n",
              "song.score:2: pattern \"p\" has 24 steps, but 2 bars of 16 steps need 32"},
        Fault{"BadHit", Bars + "pattern p\n  hits X...X...X...X..!\nend\n",
              "song.score:3: \"!\" is not a hit (X, x, o, - or .)"},
        Fault{"BadNote", Bars + "pattern p\n  steps 2\n  notes A4 H4\nend\n",
              "song.score:4: \"H4\" is not a step (a note like A4, R, R+7, *, - or .)"},
        Fault{"ArpWithNotes", Bars + "pattern p\n  steps 1\n  arp up\n  notes A4\nend\n",
              "song.score:5: an arp plays the chord: give it hits for its rhythm, not notes"},
        Fault{"BadChord", Bars + "harmony\n  0-3 Am Fmaj9\nend\n",
              "song.score:3: \"Fmaj9\" is not a chord (like Am, F, Cmaj7, Gsus4)"},
        Fault{"UnknownPattern", Bars + "instrument k kick\nend\narrangement\n  0-3 k nothing\nend\n",
              "song.score:5: unknown pattern \"nothing\""},
        Fault{"UnknownInstrumentLater", "arrangement\n  0 ghost p\nend\n" + Bars,
              "song.score:2: unknown instrument \"ghost\""},
        Fault{"OutsideTheSong", Bars + "instrument k kick\nend\npattern p\n hits X...............\nend\n"
                                       "arrangement\n  4-8 k p\nend\n",
              "song.score:8: bars 4-8 lie outside the song's 8 bars"},
        Fault{"BadRange", Bars + "arrangement\n  4..6 k p\nend\n",
              "song.score:3: \"4..6\" is not a bar range (like 8-11, 16 or 70-71:2)"},
        Fault{"BackwardsRange", Bars + "arrangement\n  6-4 k p\nend\n", "song.score:3: the range 6-4 ends before it starts"},
        Fault{"BeatOutsideBar", Bars + "arrangement\n  4-5:4 k p\nend\n", "song.score:3: beat 4 is not in a bar of 4 beats"},
        Fault{"OverlappingAutomation", Bars + "instrument s synth\nend\nautomation\n  0-3 s.cutoff 100 200\n"
                                              "  3-4 s.cutoff 200 300\nend\n",
              "song.score:6: automation of \"s.cutoff\" overlaps the one on line 5"},
        Fault{"NotAutomatable", Bars + "instrument s synth\nend\nautomation\n  0-3 s.attack 0 1\nend\n",
              "song.score:5: \"s.attack\" cannot be automated (INSTRUMENT.gain, .cutoff, .resonance, .delay, "
              ".reverb, or master.gain)"},
        Fault{"UnknownSidechain", Bars + "master\n  gain 0\n  sidechain kik\nend\n",
              "song.score:4: unknown instrument \"kik\""}),
    [](const testing::TestParamInfo<Fault>& info) { return info.param.name; });

} // namespace
