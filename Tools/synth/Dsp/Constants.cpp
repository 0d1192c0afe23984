#include "Dsp/Constants.h"

#include <cmath>

namespace synth {

float DbToGain(float db)
{
    return db <= SilenceDb ? 0.0f : std::pow(10.0f, db / 20.0f);
}

float GainToDb(float gain)
{
    return gain <= 0.0f ? SilenceDb : std::max(SilenceDb, 20.0f * std::log10(gain));
}

double NoteToHz(double note)
{
    return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

} // namespace synth
