// The subtractive voice behind bass, pads, lead and arp: a stack of detuned oscillators spread
// across the stereo field, a sub sine and noise, through a resonant filter swept by its own
// envelope, then optional saturation and the amplitude envelope.
#pragma once

#include "Dsp/Envelope.h"
#include "Dsp/Filter.h"
#include "Dsp/Noise.h"
#include "Dsp/Oscillator.h"
#include "Instruments/Voice.h"
#include "Score/Score.h"

#include <vector>

namespace synth {

class SynthVoice : public Voice {
public:
    SynthVoice(const Instrument& instrument, long start, long end, float note, float velocity);

protected:
    bool Generate(float* left, float* right, int frames, const LiveParams& live) override;
    void NoteOff() override;

private:
    struct Partial {
        Oscillator oscillator;
        double ratio; // of its detuning
        float leftGain, rightGain;
    };

    void Control(const LiveParams& live);

    const Instrument& instrument;
    float note, velocity;
    double baseHz;
    std::vector<Partial> partials;
    Oscillator sub{Waveform::Sine};
    Noise noise;
    Filter filterLeft, filterRight;
    Envelope amp, filterEnvelope;
    long age = 0;           // samples generated
    int untilControl = 0;   // samples left before the next control update
    float driveNorm = 1.0f;
};

} // namespace synth
