// The timeline text and the scene lookup: whatever the text, the entries come out in strictly
// ascending time, and FindEntry and CheckChange agree with a plain scan at every time, whichever
// way the clock moves.
#include "Framework/FrameworkEx.h"
#include "Framework/SceneHandler/SceneTimeline.h"
#include "FuzzCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr size_t MaxInput = 64 * 1024;
constexpr size_t MaxProbedEntries = 64;

// The last entry whose time is at most t, or 0 when t lies before every entry (or is NaN).
int ScanFor(const std::vector<TimelineEntry>& entries, float t)
{
    int found = 0;
    for (size_t i = 0; i < entries.size(); ++i)
        if (t >= entries[i].time)
            found = static_cast<int>(i);
    return found;
}

std::vector<float> ProbeTimes(const std::vector<TimelineEntry>& entries)
{
    constexpr float inf = std::numeric_limits<float>::infinity();
    std::vector<float> times{-inf, -1e30f, -0.1f, 0.0f, 10.0f, 20.0f, 135.0f, 1e30f, inf};
    for (size_t i = 0; i < entries.size() && i < MaxProbedEntries; ++i) {
        const float at = entries[i].time;
        times.insert(times.end(), {at, std::nextafter(at, -inf), std::nextafter(at, inf)});
    }
    std::sort(times.begin(), times.end());
    return times;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > MaxInput)
        return 0;
    SceneTimeline timeline;
    try {
        const std::string path = SceneTimeline::Directory + SceneTimeline::FileName;
        timeline.ParseTimeline(reinterpret_cast<const char*>(data), size, path);
    } catch (const FrameworkEx&) {
        FuzzCheck(timeline.Entries().empty(), "only a timeline without entries is refused");
        return 0;
    }

    const std::vector<TimelineEntry>& entries = timeline.Entries();
    FuzzCheck(!entries.empty(), "an accepted timeline has entries");
    for (size_t i = 0; i < entries.size(); ++i) {
        FuzzCheck(std::isfinite(entries[i].time), "entry times are finite");
        FuzzCheck(!entries[i].sceneName.empty(), "every entry names a scene");
        FuzzCheck(i == 0 || entries[i - 1].time < entries[i].time, "entries are in strictly ascending time");
    }

    const std::vector<float> times = ProbeTimes(entries);
    int reported = -1;
    auto step = [&](float t) {
        const int expected = ScanFor(entries, t);
        std::string scene;
        const bool changed = timeline.CheckChange(t, scene);
        FuzzCheck(changed == (expected != reported), "a change is reported exactly when the entry changes");
        if (changed) {
            FuzzCheck(scene == entries[expected].sceneName, "the change names the entry's scene");
            reported = expected;
        }
        FuzzCheck(timeline.FindEntry(t) == expected, "FindEntry finds the last entry at or before the time");
    };
    for (float t : times)
        step(t);
    for (auto t = times.rbegin(); t != times.rend(); ++t)
        step(*t);
    step(std::numeric_limits<float>::quiet_NaN());
    step(times[times.size() / 2]);
    return 0;
}
