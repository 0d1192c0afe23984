// Hall reverb: a pre-delay, four diffusing all-passes that smear the attack, and a feedback
// delay network of eight lines mixed by a Householder matrix, each line damped so that high
// frequencies die first and the whole tail falls 60 dB in `seconds`.
#pragma once

#include "Dsp/DelayLine.h"

#include <array>
#include <vector>

namespace synth {

struct ReverbSettings {
    float seconds = 2.5f;       // decay time to -60 dB
    float dampingHz = 6000.0f;  // high frequencies above this decay faster
    float preDelay = 0.02f;     // seconds
};

class Reverb {
public:
    explicit Reverb(const ReverbSettings& settings);

    // Replaces the send signal in left/right with the reverberation.
    void Process(float* left, float* right, int frames);

private:
    static constexpr int Lines = 8;

    struct AllPass {
        DelayLine line;
        float gain;
        float Process(float input);
    };

    DelayLine preDelay;
    std::vector<AllPass> diffusers;
    std::vector<DelayLine> lines;
    std::array<float, Lines> lineGain{};
    std::array<float, Lines> dampState{};
    float dampCoefficient;
};

} // namespace synth
