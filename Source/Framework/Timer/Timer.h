// The show clock: every animated value is a function of the elapsed time it reports.
#pragma once

#include "Framework/Singleton.h"

#include <cstdint>

class Timer : public Singleton<Timer> {
public:
    Timer();

    // Wall-clock seconds from a monotonic counter (the millisecond counter when none is available).
    static double GetTime();

    // Samples the wall clock once per drawn frame: elapsed = now - start, delta = now - last.
    static void Update();

    static double GetElapsed() { return elapsed; }
    static double GetDelta() { return delta; }

    // Makes the show time read a - b now; restarts (device resources, music start, seeking) use it.
    static void SetTime(double a, double b);

    // The clock of a frame whose time the caller decides rather than the wall (tests, benchmarks,
    // offline rendering, which step the show by its frame number): elapsed and delta as given,
    // until the next Update or SetTime.
    static void SetFrameClock(double elapsedSeconds, double deltaSeconds);

private:
    static inline bool usePerformanceCounter = false;
    static inline int64_t frequency = 0;
    static inline double last = 0.0;
    static inline double start = 0.0;
    static inline double elapsed = 0.0;
    static inline double delta = 0.0;
};
