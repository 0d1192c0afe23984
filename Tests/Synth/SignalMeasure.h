// Measurements on test signals, written independently of the synthesiser's own code so that a
// test does not check the synthesiser against itself.
#pragma once

#include <vector>

namespace synthtest {

// Amplitude of the component at `hz` (a sine of amplitude A gives A), by correlation over
// the whole signal; exact when the signal holds a whole number of cycles.
double AmplitudeAt(const std::vector<float>& signal, double hz);

// Power per DFT bin (bins 0 .. N/2) of a signal of N samples.
std::vector<double> PowerSpectrum(const std::vector<float>& signal);

// Root mean square of signal[from, to).
double Rms(const std::vector<float>& signal, long from, long to);

} // namespace synthtest
