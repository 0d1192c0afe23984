#include "sync/track.h"

#include "sync/trackfile.h"
#include "Framework/FileSys/FileSys.h"
#include "Framework/FrameworkEx.h"
#include "Framework/LiveReload/ReloadHub.h"
#include "Framework/Timer/DemoSyncTimer.h"
#include "Platform/ClampToInteger.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

namespace {

// The row of a non-negative time; times beyond the last representable row read the last key.
uint32_t RowOf(float time)
{
    return ClampToInteger(std::floor(static_cast<double>(time)), uint32_t(0), uint32_t(UINT32_MAX));
}

} // namespace

float SyncTrack::valueAt(float time) const
{
    if (keys.empty())
        return 0.0f;
    // The clock starts slightly below zero while the audio latency runs out: those times (and NaN)
    // read the first key instead of wrapping round to an unsigned row after the last one.
    if (!(time >= 0.0f))
        return keys.begin()->second.value;

    const uint32_t row = RowOf(time);
    auto upper = keys.upper_bound(row);
    if (upper == keys.begin())
        return upper->second.value;
    auto lower = std::prev(upper);
    if (upper == keys.end())
        return lower->second.value;

    const float a = lower->second.value;
    const float b = upper->second.value;
    const double span = static_cast<double>(upper->first - lower->first);
    const double tau = (static_cast<double>(time) - static_cast<double>(lower->first)) / span;

    float factor = 0.0f;
    switch (lower->second.type) {
    case SyncKey::Step:
        return a;
    case SyncKey::Linear:
        factor = static_cast<float>(tau);
        break;
    case SyncKey::Cosine:
        factor = static_cast<float>((1.0 - std::cos(tau * 3.141592653589793)) * 0.5);
        break;
    case SyncKey::Quadratic:
        factor = static_cast<float>(std::pow(tau, 2.0));
        break;
    default:
        if (!reportedBadType) {
            reportedBadType = true;
            std::fprintf(stderr, "Assertion failed: false (track \"%s\": interpolation kind %d at row %u)\n",
                         name.c_str(), lower->second.type, lower->first);
        }
        return a;
    }
    return (b - a) * factor + a;
}

bool loadTrack(SyncTrack& track, const std::string& fileName)
{
    const std::string path = "Data\\" + fileName;
    const auto contents = FileSys::Instance()->ReadAll(path);
    if (!contents)
        throw FrameworkEx("loadTrack failed on " + path);
    storeTrackRecords(track, DecodeTrackRecords(contents->data(), contents->size()));
    return true;
}

void reloadTrack(SyncTrack& track, const std::string& fileName)
{
    SyncTrack fresh(track.name);
    loadTrack(fresh, fileName);
    for (const auto& [row, key] : fresh.keys)
        if (key.type < SyncKey::Step || key.type > SyncKey::Quadratic || !std::isfinite(key.value))
            throw FrameworkEx("[reloadTrack] the key of row " + std::to_string(row) +
                              " has no finite value or an unknown interpolation kind " + std::to_string(key.type));
    const std::optional<uint32_t> changed = firstChangedRow(track.keys, fresh.keys);
    track.keys.swap(fresh.keys);
    if (ReloadHub* hub = ReloadHub::Instance(); hub && changed)
        hub->ReportSimulationChangeFrom(*changed / SyncRowRate);
}

std::optional<uint32_t> firstChangedRow(const std::map<uint32_t, SyncKey>& before,
                                        const std::map<uint32_t, SyncKey>& after)
{
    const auto same = [](const auto& a, const auto& b) {
        return a.first == b.first && a.second.value == b.second.value && a.second.type == b.second.type;
    };
    auto a = before.begin(), b = after.begin();
    std::optional<std::pair<uint32_t, SyncKey>> previous;
    while (a != before.end() && b != after.end() && same(*a, *b)) {
        previous = *a;
        ++a, ++b;
    }
    if (a == before.end() && b == after.end())
        return std::nullopt;
    if (!previous)
        return 0;
    // A step holds its value up to the next key, so only a span that moves on changes before it.
    const uint32_t differing = std::min(a != before.end() ? a->first : UINT32_MAX, b != after.end() ? b->first : UINT32_MAX);
    return previous->second.type == SyncKey::Step ? differing : previous->first;
}

void storeTrackRecords(SyncTrack& track, const std::vector<TrackRecord>& records)
{
    for (const TrackRecord& record : records)
        track.keys.insert_or_assign(record.row, SyncKey{record.value, record.type});
}
