#include "Render/SongRenderer.h"

#include "Dsp/Constants.h"
#include "Dsp/Filter.h"
#include "Dsp/Limiter.h"
#include "Dsp/PingPongDelay.h"
#include "Dsp/Reverb.h"
#include "Render/AutomationLane.h"
#include "Render/DuckEnvelope.h"
#include "Render/InstrumentTrack.h"
#include "Render/Sequencer.h"

#include <algorithm>
#include <array>

namespace synth {
namespace {

// Automation and the mixer strips advance in blocks this long (1.5 ms).
constexpr int BlockFrames = 64;
// Below this nothing is music, only a waste of the limiter's headroom.
constexpr double MasterLowCutHz = 24.0;

DuckEnvelope MakeDuck(const Score& score, const Sequence& sequence)
{
    std::vector<long> triggers;
    if (score.master.sidechain >= 0) {
        for (const NoteEvent& note : sequence.notes[score.master.sidechain])
            triggers.push_back(note.start);
    }
    return DuckEnvelope(std::move(triggers), score.master.duckRelease);
}

struct Bus {
    std::array<float, BlockFrames> left{}, right{};
    void Clear()
    {
        left.fill(0.0f);
        right.fill(0.0f);
    }
};

} // namespace

StereoBuffer RenderSong(const Score& score)
{
    const Sequence sequence = BuildSequence(score);
    const DuckEnvelope duck = MakeDuck(score, sequence);
    std::vector<InstrumentTrack> tracks;
    for (size_t i = 0; i < score.instruments.size(); ++i)
        tracks.emplace_back(score, static_cast<int>(i), sequence.notes[i]);

    const double secondsPerBar = score.SecondsPerBar();
    PingPongDelay delay({score.master.delayBeats * secondsPerBar / score.beatsPerBar, score.master.delayFeedback,
                         score.master.delayTone});
    Reverb reverb({score.master.reverbTime, score.master.reverbDamping, score.master.reverbPreDelay});
    Filter lowCutLeft(FilterMode::HighPass), lowCutRight(FilterMode::HighPass);
    lowCutLeft.Set(MasterLowCutHz, 0.0);
    lowCutRight.Set(MasterLowCutHz, 0.0);
    const AutomationLane masterGain(score, -1, AutomatedParam::Gain, score.master.gain);

    StereoBuffer out;
    out.left.resize(sequence.frames);
    out.right.resize(sequence.frames);
    Bus dry, delaySend, reverbSend;
    std::array<float, BlockFrames> ducking{};
    float lastMasterGain = DbToGain(masterGain.ValueAt(0.0));

    for (long from = 0; from < sequence.frames; from += BlockFrames) {
        const int frames = static_cast<int>(std::min<long>(BlockFrames, sequence.frames - from));
        const double bar = static_cast<double>(from) / (secondsPerBar * SampleRate);
        for (int n = 0; n < frames; ++n)
            ducking[n] = duck.At(from + n);

        dry.Clear();
        delaySend.Clear();
        reverbSend.Clear();
        const MixBuses buses{dry.left.data(),       dry.right.data(),       delaySend.left.data(),
                             delaySend.right.data(), reverbSend.left.data(), reverbSend.right.data()};
        for (InstrumentTrack& track : tracks)
            track.Mix(from, frames, bar, ducking.data(), buses);
        delay.Process(delaySend.left.data(), delaySend.right.data(), frames);
        reverb.Process(reverbSend.left.data(), reverbSend.right.data(), frames);

        const float gain = DbToGain(masterGain.ValueAt(bar));
        for (int n = 0; n < frames; ++n) {
            const float g = lastMasterGain + (gain - lastMasterGain) * (n + 1) / frames;
            out.left[from + n] = g * lowCutLeft.Process(dry.left[n] + delaySend.left[n] + reverbSend.left[n]);
            out.right[from + n] = g * lowCutRight.Process(dry.right[n] + delaySend.right[n] + reverbSend.right[n]);
        }
        lastMasterGain = gain;
    }

    Limit(out.left, out.right, {score.master.ceiling, 0.0015f, score.master.limiterRelease});
    return out;
}

} // namespace synth
