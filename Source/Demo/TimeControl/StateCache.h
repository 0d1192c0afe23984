// The show's states by step, as they are prepared: those a preparing process sends (one every
// second of show time, four in the scenes that draw over their last picture, from a thread of
// their own) and those the show passes as it plays. A seek
// puts back the latest one before its time and steps on from there. Thread-safe.
#pragma once

#include "Demo/TimeControl/ShowState.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>

class StateCache {
public:
    // Keeps the state (replacing one of the same step) and wakes whoever waits for it.
    void Store(ShowState state);
    // The same for a state the preparation made, unless it stands where an invalidation was: the
    // preparation ran on the data from before the change.
    void StorePrepared(ShowState state);
    // The latest state at or before the step.
    std::optional<ShowState> LatestAtOrBefore(int64_t step) const;
    // Waits until a state within reach steps at or before the step is kept, the preparation has
    // ended, or the time is up; true when such a state is kept.
    bool WaitForState(int64_t step, int64_t reach, std::chrono::milliseconds timeout) const;

    // Drops every state from that show time on: what the show draws from there has changed (a
    // data file reloaded), so they no longer hold. The states before stay.
    void InvalidateFrom(double seconds);
    // No more states will come from the preparation (it finished or failed).
    void EndPreparation();
    bool PreparationEnded() const;

    size_t Count() const;
    // The steps of the states kept, in order.
    std::map<int64_t, ShowState> Copy() const;

private:
    mutable std::mutex mutex;
    mutable std::condition_variable changed;
    std::map<int64_t, ShowState> states;
    bool preparationEnded = false;
    int64_t staleFrom = INT64_MAX;
};
