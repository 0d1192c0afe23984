// Turns the arrangement into notes: each placement repeats its pattern over its bars, chord
// steps and roots take the harmony of their bar, arps walk the chord, and every note gets its
// first and last sample.
#pragma once

#include "Score/Score.h"

#include <vector>

namespace synth {

struct NoteEvent {
    long start = 0;   // first sample
    long end = 0;     // sample of the note-off (drums ignore it)
    float note = 60;  // MIDI note
    float velocity = 1.0f;
};

struct Sequence {
    std::vector<std::vector<NoteEvent>> notes; // per instrument, by start
    long frames = 0;                           // length of the song
};

long BarToFrame(const Score& score, double bar);
Sequence BuildSequence(const Score& score);

} // namespace synth
