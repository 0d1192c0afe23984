#include "Dsp/Oscillator.h"

#include "Dsp/Constants.h"

#include <algorithm>
#include <cmath>

namespace synth {

void Oscillator::SetFrequency(double hz)
{
    // Above Nyquist/2 the two-sample residuals would overlap; nothing musical lives there.
    increment = std::clamp(hz / SampleRate, 0.0, 0.25);
}

void Oscillator::SetPhase(double cycles)
{
    phase = detail::Wrap(cycles);
}

} // namespace synth
