// The ".track" decoder and track evaluation: the records are stored the way loadTrack stores them
// and the track is read at times a show can produce (fractional rows, the negative start, playback
// far past the end) and at times it cannot (NaN, infinities, rows beyond 32 bits).
#include "FuzzCheck.h"
#include "sync/track.h"
#include "sync/trackfile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr size_t MaxInput = 64 * 1024;
constexpr size_t MaxProbedKeys = 64;

bool SameFloat(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

std::vector<float> ProbeTimes(const SyncTrack& track)
{
    constexpr float inf = std::numeric_limits<float>::infinity();
    std::vector<float> times{-inf,  -1e30f, -4294967296.0f, -1.0f, -0.25f, -0.0f,   0.0f,          0.5f,
                             1.0f,  341.33f, 2304.0f,       1e9f,  4294967040.0f, 4294967296.0f, 1e30f,
                             std::numeric_limits<float>::max(), inf, std::numeric_limits<float>::quiet_NaN(),
                             std::numeric_limits<float>::denorm_min()};
    size_t probed = 0;
    for (const auto& [row, key] : track.keys) {
        if (++probed > MaxProbedKeys)
            break;
        const float at = static_cast<float>(row);
        times.insert(times.end(), {at, at + 0.5f, std::nextafter(at, -inf), std::nextafter(at, inf)});
    }
    return times;
}

// Between two keys every kind of interpolation stays within the two values (up to rounding).
void CheckBetweenKeys(const SyncTrack& track, float time, float value)
{
    const auto upper = track.keys.upper_bound(static_cast<uint32_t>(std::floor(double(time))));
    const auto lower = std::prev(upper);
    const float a = lower->second.value;
    const float b = upper->second.value;
    constexpr float Sane = 1e30f;
    if (!(std::fabs(a) <= Sane && std::fabs(b) <= Sane))
        return;
    const float slack = 1e-5f * std::max(std::fabs(a), std::fabs(b)) + 1e-30f;
    FuzzCheck(value >= std::min(a, b) - slack && value <= std::max(a, b) + slack,
              "an interpolated value lies between its two keys");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > MaxInput)
        return 0;
    const std::vector<TrackRecord> records = DecodeTrackRecords(data, size);
    FuzzCheck(TrackHeaderSize + records.size() * TrackRecordSize <= std::max(size, TrackHeaderSize),
              "no more records are decoded than the bytes hold");

    SyncTrack track("fuzz");
    storeTrackRecords(track, records);

    if (track.keys.empty()) {
        for (float time : ProbeTimes(track))
            FuzzCheck(track.valueAt(time) == 0.0f, "a track without keys reads 0");
        return 0;
    }

    const SyncKey& first = track.keys.begin()->second;
    const auto& [lastRow, last] = *track.keys.rbegin();
    for (float time : ProbeTimes(track)) {
        const float value = track.valueAt(time);
        if (!(time >= 0.0f))
            FuzzCheck(SameFloat(value, first.value), "negative times and NaN read the first key");
        else if (std::floor(double(time)) >= double(lastRow))
            FuzzCheck(SameFloat(value, last.value), "times at or after the last key read the last key");
        else if (double(time) < double(track.keys.begin()->first))
            FuzzCheck(SameFloat(value, first.value), "times before the first key read the first key");
        else
            CheckBetweenKeys(track, time, value);
    }
    return 0;
}
