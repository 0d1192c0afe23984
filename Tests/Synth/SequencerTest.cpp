#include "Dsp/Constants.h"
#include "Render/AutomationLane.h"
#include "Render/DuckEnvelope.h"
#include "Render/Sequencer.h"
#include "Score/ScoreParser.h"
#include "SynthError.h"

#include <gtest/gtest.h>

namespace {

using synth::BuildSequence;
using synth::ParseScore;

// 120 BPM: a bar is 2 s = 88200 samples, a sixteenth 5512.5.
const std::string Header = "tempo 120\nbars 4\ninstrument s synth\nend\n";

std::vector<synth::NoteEvent> NotesOf(const std::string& body)
{
    return BuildSequence(ParseScore(Header + body, "song.score")).notes[0];
}

TEST(SequencerTest, PatternRepeatsOverItsRangeAndIsCutAtTheEnd)
{
    const auto notes = NotesOf("pattern p\n  steps 4\n  notes A4 - - C5\nend\n"
                               "arrangement\n  1-2:2 s p\nend\n");
    // Bar 1: A4 (three steps) and C5; bar 2: A4 again, cut at beat 2.
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[0].start, 88200);
    EXPECT_EQ(notes[0].end, 88200 + 3 * 22050);
    EXPECT_EQ(notes[0].note, 69);
    EXPECT_EQ(notes[1].note, 72);
    EXPECT_EQ(notes[2].start, 2 * 88200);
    EXPECT_EQ(notes[2].end, 2 * 88200 + 44100);
}

TEST(SequencerTest, RootsAndChordsFollowTheHarmonyInsideTheWindow)
{
    const auto notes = NotesOf("pattern p\n  steps 2\n  window F1\n  notes R *\nend\n"
                               "harmony\n  0-1 Am G\nend\narrangement\n  0-1 s p\nend\n");
    // Am: root A1 (33), chord A C E in [F1, F2): A1 C2 E2; G: root G1 (31), chord G B D: G1 B1 D2.
    std::vector<float> pitches;
    for (const auto& note : notes)
        pitches.push_back(note.note);
    EXPECT_EQ(pitches, (std::vector<float>{33, 33, 36, 40, 31, 31, 35, 38}));
}

TEST(SequencerTest, ArpWalksTheChordUpAndDownAndTheGateShortensNotes)
{
    const auto notes = NotesOf("pattern p\n  steps 8\n  window C4\n  arp updown 2\n  gate 0.5\nend\n"
                               "harmony\n  0 C\nend\narrangement\n  0 s p\nend\n");
    std::vector<float> pitches;
    for (const auto& note : notes)
        pitches.push_back(note.note);
    EXPECT_EQ(pitches, (std::vector<float>{60, 64, 67, 72, 76, 79, 76, 72}));
    EXPECT_EQ(notes[1].start, 11025);
    EXPECT_EQ(notes[1].end - notes[1].start, 5513); // half of an eighth, rounded
}

TEST(SequencerTest, TransposeAndVelocityOfAPlacementApply)
{
    const auto notes = NotesOf("pattern p\n  steps 1\n  velocity 0.5\n  notes A4\nend\n"
                               "arrangement\n  0 s p transpose -12 velocity 0.5\nend\n");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].note, 57);
    EXPECT_FLOAT_EQ(notes[0].velocity, 0.25f);
}

TEST(SequencerTest, ChordStepWithoutHarmonyNamesTheArrangementLine)
{
    try {
        NotesOf("pattern p\n  steps 1\n  notes *\nend\narrangement\n  2 s p\nend\n");
        FAIL() << "played a chord that the harmony does not give";
    } catch (const synth::SynthError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "song.score:10: pattern \"p\" needs a chord in bar 2, but the harmony gives none");
    }
}

TEST(AutomationLaneTest, HoldsTheSettingThenRampsThenHoldsTheEnd)
{
    const auto score = ParseScore(Header + "automation\n  1-2 s.cutoff 100 400\n  3 s.gain 0 -inf\nend\n", "s");
    const synth::AutomationLane cutoff(score, 0, synth::AutomatedParam::Cutoff, 5000.0f);
    EXPECT_FLOAT_EQ(cutoff.ValueAt(0.5), 5000.0f);
    EXPECT_FLOAT_EQ(cutoff.ValueAt(1.0), 100.0f);
    EXPECT_NEAR(cutoff.ValueAt(2.0), 200.0f, 0.01f); // half way in octaves
    EXPECT_FLOAT_EQ(cutoff.ValueAt(3.5), 400.0f);

    const synth::AutomationLane gain(score, 0, synth::AutomatedParam::Gain, -6.0f);
    EXPECT_FLOAT_EQ(gain.ValueAt(3.5), -45.0f); // towards -90 dB
    EXPECT_EQ(synth::DbToGain(gain.ValueAt(3.999)) > 0.0f, true);
    EXPECT_EQ(synth::DbToGain(gain.ValueAt(4.0)), 0.0f); // silent from the end of the fade
}

TEST(DuckEnvelopeTest, DipsAtEachKickAndComesBackWithinTheRelease)
{
    const synth::DuckEnvelope duck({1000, 30000}, 0.2f); // release 8820 samples after a 176-sample attack
    EXPECT_EQ(duck.At(999), 0.0f);
    EXPECT_FLOAT_EQ(duck.At(1000 + 176), 1.0f);
    EXPECT_GT(duck.At(1000 + 176 + 4000), 0.3f);
    EXPECT_EQ(duck.At(1000 + 176 + 8820), 0.0f);
    EXPECT_FLOAT_EQ(duck.At(30000 + 176), 1.0f);
}

} // namespace
