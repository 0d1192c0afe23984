#include "Framework/Timer/Timer.h"

#include <chrono>

namespace {

using Counter = std::chrono::steady_clock;

bool QueryFrequency(int64_t& frequency)
{
    frequency = Counter::period::den / Counter::period::num;
    return Counter::is_steady && frequency >= 1000;
}

// The fallback millisecond counter: milliseconds since the first call, as an unsigned 32-bit value.
uint32_t MillisecondCounter()
{
    static const auto origin = Counter::now();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(Counter::now() - origin).count());
}

} // namespace

Timer::Timer() : Singleton("Timer")
{
    usePerformanceCounter = QueryFrequency(frequency);
}

double Timer::GetTime()
{
    if (usePerformanceCounter) {
        QueryFrequency(frequency);
        const auto counter = Counter::now().time_since_epoch().count();
        return static_cast<double>(counter) / static_cast<double>(frequency);
    }
    return MillisecondCounter() * static_cast<double>(0.001f);
}

void Timer::Update()
{
    const double now = GetTime();
    elapsed = now - start;
    delta = now - last;
    last = now;
}

void Timer::SetTime(double a, double b)
{
    const double now = GetTime();
    last = now;
    delta = 0.0;
    start = now + b - a;
    elapsed = a - b;
}


void Timer::SetFrameClock(double elapsedSeconds, double deltaSeconds)
{
    elapsed = elapsedSeconds;
    delta = deltaSeconds;
}
