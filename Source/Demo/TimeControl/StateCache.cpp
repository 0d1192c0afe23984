#include "Demo/TimeControl/StateCache.h"

#include "Framework/SceneHandler/SceneHandler.h"

#include <algorithm>

void StateCache::Store(ShowState state)
{
    {
        const std::lock_guard lock(mutex);
        const int64_t step = state.steps;
        states.insert_or_assign(step, std::move(state));
    }
    changed.notify_all();
}

void StateCache::StorePrepared(ShowState state)
{
    {
        const std::lock_guard lock(mutex);
        if (state.steps >= staleFrom)
            return;
    }
    Store(std::move(state));
}

std::optional<ShowState> StateCache::LatestAtOrBefore(int64_t step) const
{
    const std::lock_guard lock(mutex);
    auto after = states.upper_bound(step);
    if (after == states.begin())
        return std::nullopt;
    return std::prev(after)->second;
}

bool StateCache::WaitForState(int64_t step, int64_t reach, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(mutex);
    const auto near = [&] {
        auto after = states.upper_bound(step);
        return after != states.begin() && std::prev(after)->first >= step - reach;
    };
    changed.wait_for(lock, timeout, [&] { return near() || preparationEnded; });
    return near();
}

void StateCache::InvalidateFrom(double seconds)
{
    const std::lock_guard lock(mutex);
    // The state at the time itself took its step with what changed there.
    const int64_t step = SceneHandler::StepsAt(seconds);
    staleFrom = std::min(staleFrom, step);
    states.erase(states.lower_bound(step), states.end());
}

void StateCache::EndPreparation()
{
    {
        const std::lock_guard lock(mutex);
        preparationEnded = true;
    }
    changed.notify_all();
}

bool StateCache::PreparationEnded() const
{
    const std::lock_guard lock(mutex);
    return preparationEnded;
}

size_t StateCache::Count() const
{
    const std::lock_guard lock(mutex);
    return states.size();
}

std::map<int64_t, ShowState> StateCache::Copy() const
{
    const std::lock_guard lock(mutex);
    return states;
}
