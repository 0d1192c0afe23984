// ADSR envelope. The attack is a straight ramp that peaks exactly after `attack` seconds; decay
// and release are exponential-shaped curves that still arrive exactly on time (a plain
// exponential never does), so note lengths in the score mean what they say.
#pragma once

namespace synth {

struct AdsrTimes {
    float attack = 0.005f;  // seconds
    float decay = 0.1f;     // seconds
    float sustain = 1.0f;   // level, 0..1
    float release = 0.05f;  // seconds
};

class Envelope {
public:
    explicit Envelope(const AdsrTimes& times);

    void NoteOff();
    float Next();
    bool Finished() const { return stage == Stage::Done; }
    float Level() const { return level; }

private:
    enum class Stage { Attack, Decay, Sustain, Release, Done };

    // Starts a falling curve over `length` samples; Fall() then steps it, 1 down to 0.
    void StartFall(long length);
    float Fall();

    AdsrTimes times;
    Stage stage = Stage::Attack;
    long position = 0;  // samples into the current stage
    long attackLength, decayLength, releaseLength;
    float level = 0.0f;
    float releaseFrom = 0.0f;
    double fallFactor = 1.0; // e^(-steepness / length): one sample of the exponential
    double fallValue = 1.0;  // e^(-steepness * position / length)
};

} // namespace synth
