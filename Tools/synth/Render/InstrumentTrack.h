// One instrument on the mixer: starts its notes' voices on time, renders them, and passes the
// sum through its strip (automated gain, ducking, pan) into the dry bus and the two sends.
#pragma once

#include "Instruments/Voice.h"
#include "Render/AutomationLane.h"
#include "Render/Sequencer.h"
#include "Score/Score.h"

#include <memory>
#include <vector>

namespace synth {

struct MixBuses {
    float* dryLeft;
    float* dryRight;
    float* delayLeft;
    float* delayRight;
    float* reverbLeft;
    float* reverbRight;
};

class InstrumentTrack {
public:
    InstrumentTrack(const Score& score, int index, std::vector<NoteEvent> notes);

    // Mixes the block [from, from + frames) into the buses. duck[n] is the sidechain amount.
    void Mix(long from, int frames, double bar, const float* duck, const MixBuses& buses);

private:
    const Instrument& instrument;
    std::vector<NoteEvent> notes;
    size_t nextNote = 0;
    std::vector<std::unique_ptr<Voice>> voices;
    AutomationLane gain, cutoff, resonance, delaySend, reverbSend;
    float lastGain = -1.0f; // linear; negative until the first block
    float panLeft, panRight;
    std::vector<float> left, right;
};

} // namespace synth
