// The animation curve decoder and evaluation: keys as a file gives them (any order, any floats),
// evaluated in forward and backward playback order so that the incremental segment search walks
// both ways from every position it can reach.
#include "Framework/Scene/AnimCurve.h"
#include "Framework/Scene/CurveFile.h"
#include "FuzzCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr size_t MaxInput = 16 * 1024; // 1024 keys; shipped curves hold a few hundred
constexpr size_t MaxProbedKeys = 64;

bool SameFloat(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

std::vector<float> ProbeTimes(const std::vector<CurveKey>& keys)
{
    constexpr float inf = std::numeric_limits<float>::infinity();
    std::vector<float> times{-inf, -1e30f, -1.0f, -0.0f, 0.0f, 0.25f, 1.0f, 20.0f, 135.0f, CurveEndTime, 1e30f, inf};
    for (size_t i = 0; i < keys.size() && i < MaxProbedKeys; ++i) {
        const float at = keys[i].time;
        times.insert(times.end(), {at, std::nextafter(at, -inf), std::nextafter(at, inf), at + 0.016666668f});
    }
    // NaN cannot be ordered, so it is probed apart from the sorted playback below.
    times.erase(std::remove_if(times.begin(), times.end(), [](float t) { return std::isnan(t); }), times.end());
    std::sort(times.begin(), times.end());
    return times;
}

bool InTimeOrder(const std::vector<CurveKey>& keys)
{
    for (size_t i = 0; i < keys.size(); ++i)
        if (std::isnan(keys[i].time) || (i > 0 && keys[i - 1].time > keys[i].time))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > MaxInput)
        return 0;
    AnimCurve curve("fuzz.translateX");
    curve.keys = DecodeCurveKeys(data, size);
    FuzzCheck(curve.keys.size() == size / CurveKeySize, "one key per whole 16-byte record");

    const std::vector<float> times = ProbeTimes(curve.keys);
    // With keys in time order the search result cannot depend on where the last search ended.
    const bool ordered = InTimeOrder(curve.keys);
    AnimCurve fresh = curve;
    auto play = [&](float x) {
        const float value = evaluate(curve, x);
        FuzzCheck(curve.keys.empty() ? curve.searchIndex == 0 : curve.searchIndex < curve.keys.size(),
                  "the search index stays on a key");
        if (curve.keys.empty())
            FuzzCheck(value == 0.0f, "a curve without keys reads 0");
        else if (ordered) {
            fresh.searchIndex = 0; // as after loading
            FuzzCheck(SameFloat(value, evaluate(fresh, x)), "incremental search matches a fresh search");
        }
    };
    for (float x : times)
        play(x);
    for (auto x = times.rbegin(); x != times.rend(); ++x)
        play(*x);
    play(std::numeric_limits<float>::quiet_NaN());
    if (!times.empty())
        play(times[times.size() / 2]);
    return 0;
}
