#include "Render/InstrumentTrack.h"

#include "Dsp/Constants.h"
#include "Instruments/VoiceFactory.h"

#include <algorithm>
#include <cmath>

namespace synth {

InstrumentTrack::InstrumentTrack(const Score& score, int index, std::vector<NoteEvent> notes)
    : instrument(score.instruments[index]),
      notes(std::move(notes)),
      gain(score, index, AutomatedParam::Gain, instrument.gain),
      cutoff(score, index, AutomatedParam::Cutoff, instrument.cutoff),
      resonance(score, index, AutomatedParam::Resonance, instrument.resonance),
      delaySend(score, index, AutomatedParam::DelaySend, instrument.delaySend),
      reverbSend(score, index, AutomatedParam::ReverbSend, instrument.reverbSend)
{
    // Constant power, normalised so that the centre passes at unity on both sides.
    const double angle = (instrument.pan + 1.0) * Pi / 4.0;
    panLeft = static_cast<float>(std::sqrt(2.0) * std::cos(angle));
    panRight = static_cast<float>(std::sqrt(2.0) * std::sin(angle));
}

void InstrumentTrack::Mix(long from, int frames, double bar, const float* duck, const MixBuses& buses)
{
    const long to = from + frames;
    while (nextNote < notes.size() && notes[nextNote].start < to)
        voices.push_back(MakeVoice(instrument, notes[nextNote++]));

    const float targetGain = DbToGain(gain.ValueAt(bar));
    if (voices.empty()) {
        lastGain = targetGain;
        return;
    }

    left.assign(frames, 0.0f);
    right.assign(frames, 0.0f);
    const LiveParams live{cutoff.ValueAt(bar), resonance.ValueAt(bar)};
    std::erase_if(voices, [&](const std::unique_ptr<Voice>& voice) {
        return !voice->Render(left.data(), right.data(), from, frames, live);
    });

    // The gain glides across the block so that automation never steps audibly.
    const float startGain = lastGain < 0.0f ? targetGain : lastGain;
    const float delay = delaySend.ValueAt(bar);
    const float reverb = reverbSend.ValueAt(bar);
    for (int n = 0; n < frames; ++n) {
        const float g = (startGain + (targetGain - startGain) * (n + 1) / frames) * (1.0f - instrument.duck * duck[n]);
        const float l = left[n] * g * panLeft;
        const float r = right[n] * g * panRight;
        buses.dryLeft[n] += l;
        buses.dryRight[n] += r;
        buses.delayLeft[n] += l * delay;
        buses.delayRight[n] += r * delay;
        buses.reverbLeft[n] += l * reverb;
        buses.reverbRight[n] += r * reverb;
    }
    lastGain = targetGain;
}

} // namespace synth
