// Resonant state-variable filter (trapezoidal integration, so the cutoff is exact after
// prewarping and stays stable while it is swept). Two poles, or four as two cascaded stages
// with Butterworth damping: at resonance 0 the response is -3 dB at the cutoff in both cases.
#pragma once

namespace synth {

enum class FilterMode { LowPass, HighPass, BandPass };

class Filter {
public:
    Filter(FilterMode mode = FilterMode::LowPass, int poles = 2) : mode(mode), poles(poles) {}

    // cutoff in Hz (clamped to a stable range); resonance in [0, 1), towards self-oscillation.
    void Set(double cutoffHz, double resonance);
    float Process(float input)
    {
        double out = first.Process(input, mode);
        if (poles == 4)
            out = second.Process(out, mode);
        return static_cast<float>(out);
    }
    void Reset();

private:
    struct Stage {
        double g = 0.0, k = 1.0, a1 = 0.0, a2 = 0.0, a3 = 0.0;
        double ic1 = 0.0, ic2 = 0.0;
        void Set(double g, double q);
        double Process(double v0, FilterMode mode)
        {
            const double v3 = v0 - ic2;
            const double v1 = a1 * ic1 + a2 * v3;
            const double v2 = ic2 + a2 * ic1 + a3 * v3;
            ic1 = 2.0 * v1 - ic1;
            ic2 = 2.0 * v2 - ic2;
            switch (mode) {
            case FilterMode::LowPass:
                return v2;
            case FilterMode::HighPass:
                return v0 - k * v1 - v2;
            case FilterMode::BandPass:
                return v1;
            }
            return v2;
        }
    };

    FilterMode mode;
    int poles;
    Stage first, second;
};

} // namespace synth
