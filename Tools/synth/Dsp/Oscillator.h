// Band-limited oscillator: saw and pulse get a polynomial band-limited step at each
// discontinuity, the triangle a band-limited ramp at each corner, so high notes do not fold
// back as inharmonic aliases.
#pragma once

#include <cmath>

namespace synth {

namespace detail {

// Residual of a band-limited step of height 2 spread over the two samples around it.
inline double PolyBlep(double t, double dt)
{
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

// Residual of a band-limited corner (the integral of the step residual).
inline double PolyBlamp(double t, double dt)
{
    if (t < dt) {
        t = t / dt - 1.0;
        return -t * t * t / 3.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt + 1.0;
        return t * t * t / 3.0;
    }
    return 0.0;
}

inline double Wrap(double cycles)
{
    return cycles - std::floor(cycles);
}

} // namespace detail

enum class Waveform { Sine, Saw, Square, Triangle };

class Oscillator {
public:
    explicit Oscillator(Waveform waveform = Waveform::Saw) : waveform(waveform) {}

    void SetFrequency(double hz);
    // Phase in cycles, [0, 1).
    void SetPhase(double cycles);
    // Duty cycle of the square wave, (0, 1).
    void SetPulseWidth(double width) { pulseWidth = width; }

    float Next()
    {
        switch (waveform) {
        case Waveform::Sine:
            return Step<Waveform::Sine>();
        case Waveform::Saw:
            return Step<Waveform::Saw>();
        case Waveform::Square:
            return Step<Waveform::Square>();
        case Waveform::Triangle:
            break;
        }
        return Step<Waveform::Triangle>();
    }

    // Adds `frames` samples, times leftGain and rightGain, to left and right: the loop of the
    // unison stacks, with the choice of waveform made once rather than every sample.
    void Add(float* left, float* right, int frames, float leftGain, float rightGain)
    {
        switch (waveform) {
        case Waveform::Sine:
            return AddWave<Waveform::Sine>(left, right, frames, leftGain, rightGain);
        case Waveform::Saw:
            return AddWave<Waveform::Saw>(left, right, frames, leftGain, rightGain);
        case Waveform::Square:
            return AddWave<Waveform::Square>(left, right, frames, leftGain, rightGain);
        case Waveform::Triangle:
            break;
        }
        AddWave<Waveform::Triangle>(left, right, frames, leftGain, rightGain);
    }

private:
    template <Waveform Wave>
    float Step()
    {
        using detail::PolyBlamp;
        using detail::PolyBlep;
        using detail::Wrap;
        const double t = phase;
        const double dt = increment;
        double value = 0.0;
        if constexpr (Wave == Waveform::Sine) {
            value = std::sin(6.283185307179586 * t);
        } else if constexpr (Wave == Waveform::Saw) {
            value = 2.0 * t - 1.0 - PolyBlep(t, dt);
        } else if constexpr (Wave == Waveform::Square) {
            value = (t < pulseWidth ? 1.0 : -1.0) + PolyBlep(t, dt) - PolyBlep(Wrap(t + 1.0 - pulseWidth), dt);
        } else {
            // Slope +-4 per cycle: the trough at t = 0 turns it up by 8, the peak at t = 0.5 down by
            // 8, i.e. 8 * dt per sample; the residual, like the step's, is scaled for a change of 2.
            value = 1.0 - 4.0 * std::abs(t - 0.5) + 4.0 * dt * PolyBlamp(t, dt) - 4.0 * dt * PolyBlamp(Wrap(t + 0.5), dt);
        }
        phase += increment;
        if (phase >= 1.0)
            phase -= 1.0;
        return static_cast<float>(value);
    }

    template <Waveform Wave>
    void AddWave(float* left, float* right, int frames, float leftGain, float rightGain)
    {
        for (int n = 0; n < frames; ++n) {
            const float sample = Step<Wave>();
            left[n] += sample * leftGain;
            right[n] += sample * rightGain;
        }
    }

    Waveform waveform;
    double phase = 0.0;
    double increment = 0.0;
    double pulseWidth = 0.5;
};

} // namespace synth
