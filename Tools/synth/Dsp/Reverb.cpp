#include "Dsp/Reverb.h"

#include "Dsp/Constants.h"

#include <algorithm>
#include <cmath>

namespace synth {
namespace {

// Mutually prime lengths (samples at 44.1 kHz) so that the lines' echoes never line up.
constexpr std::array<size_t, 8> LineLengths = {1433, 1601, 1867, 2053, 2251, 2399, 2617, 2797};
constexpr std::array<size_t, 4> DiffuserLengths = {142, 107, 379, 277};
constexpr float DiffuserGain = 0.6f;

} // namespace

float Reverb::AllPass::Process(float input)
{
    const float delayed = line.Read();
    const float feed = input + gain * delayed;
    line.Write(feed);
    return delayed - gain * feed;
}

Reverb::Reverb(const ReverbSettings& settings)
    : preDelay(static_cast<size_t>(std::lround(std::max(0.0f, settings.preDelay) * SampleRate))),
      dampCoefficient(static_cast<float>(std::exp(-2.0 * Pi * settings.dampingHz / SampleRate)))
{
    for (size_t length : DiffuserLengths)
        diffusers.push_back(AllPass{DelayLine(length), DiffuserGain});
    const double seconds = std::max(0.1f, settings.seconds);
    for (int i = 0; i < Lines; ++i) {
        lines.emplace_back(LineLengths[i]);
        // Each pass through a line of length L must lose 60 dB * L / (seconds * rate).
        lineGain[i] = static_cast<float>(std::pow(10.0, -3.0 * LineLengths[i] / (seconds * SampleRate)));
    }
}

void Reverb::Process(float* left, float* right, int frames)
{
    std::array<float, Lines> out{};
    for (int n = 0; n < frames; ++n) {
        float input = preDelay.Read();
        preDelay.Write(0.5f * (left[n] + right[n]));
        for (AllPass& diffuser : diffusers)
            input = diffuser.Process(input);

        float sum = 0.0f;
        for (int i = 0; i < Lines; ++i) {
            // One-pole low-pass inside the loop: the damping.
            dampState[i] = lines[i].Read() + dampCoefficient * (dampState[i] - lines[i].Read());
            out[i] = dampState[i] * lineGain[i];
            sum += out[i];
        }
        // Householder feedback: energy-preserving and every line feeds every other.
        const float reflection = sum * (2.0f / Lines);
        for (int i = 0; i < Lines; ++i)
            lines[i].Write(out[i] - reflection + ((i & 1) ? -input : input));

        left[n] = out[0] + out[2] + out[4] + out[6];
        right[n] = out[1] + out[3] + out[5] + out[7];
    }
}

} // namespace synth
