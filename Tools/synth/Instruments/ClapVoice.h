// Hand clap: band-passed noise struck four times a few milliseconds apart (several hands that
// never quite meet), then a longer tail of the room.
#pragma once

#include "Dsp/Filter.h"
#include "Dsp/Noise.h"
#include "Instruments/Voice.h"
#include "Score/Score.h"

namespace synth {

class ClapVoice : public Voice {
public:
    ClapVoice(const Instrument& instrument, long start, long end, float velocity);

protected:
    bool Generate(float* left, float* right, int frames, const LiveParams& live) override;

private:
    float Level(double seconds) const;

    const Instrument& instrument;
    float velocity;
    Noise noise;
    Filter band{FilterMode::BandPass};
    long age = 0;
};

} // namespace synth
