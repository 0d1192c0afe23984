#include "SignalMeasure.h"

#include <cmath>
#include <complex>

namespace synthtest {

constexpr double SampleRate = 44100.0;
constexpr double Pi = 3.14159265358979323846;

double AmplitudeAt(const std::vector<float>& signal, double hz)
{
    double re = 0.0, im = 0.0;
    for (size_t n = 0; n < signal.size(); ++n) {
        const double angle = 2.0 * Pi * hz * static_cast<double>(n) / SampleRate;
        re += signal[n] * std::cos(angle);
        im += signal[n] * std::sin(angle);
    }
    return 2.0 * std::hypot(re, im) / static_cast<double>(signal.size());
}

// Iterative radix-2 FFT; the size must be a power of two.
std::vector<double> PowerSpectrum(const std::vector<float>& signal)
{
    const size_t size = signal.size();
    std::vector<std::complex<double>> x(signal.begin(), signal.end());
    for (size_t i = 1, j = 0; i < size; ++i) {
        size_t bit = size >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(x[i], x[j]);
    }
    for (size_t length = 2; length <= size; length <<= 1) {
        const std::complex<double> step = std::polar(1.0, -2.0 * Pi / static_cast<double>(length));
        for (size_t start = 0; start < size; start += length) {
            std::complex<double> w = 1.0;
            for (size_t k = 0; k < length / 2; ++k) {
                const std::complex<double> even = x[start + k];
                const std::complex<double> odd = x[start + k + length / 2] * w;
                x[start + k] = even + odd;
                x[start + k + length / 2] = even - odd;
                w *= step;
            }
        }
    }
    std::vector<double> power(size / 2 + 1);
    for (size_t k = 0; k < power.size(); ++k)
        power[k] = std::norm(x[k]);
    return power;
}

double Rms(const std::vector<float>& signal, long from, long to)
{
    double sum = 0.0;
    for (long n = from; n < to; ++n)
        sum += static_cast<double>(signal[n]) * signal[n];
    return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0.0;
}

} // namespace synthtest
