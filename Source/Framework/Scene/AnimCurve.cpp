#include "Framework/Scene/AnimCurve.h"

#include "Framework/FileSys/FileSys.h"
#include "Framework/FrameworkEx.h"
#include "Framework/Notice.h"

#include <cmath>

namespace {

bool missingCurveReported = false;

} // namespace

std::unique_ptr<CurveHandle> registerCurve(const std::string& name)
{
    return std::make_unique<CurveHandle>(name);
}

void resetMissingCurveReport()
{
    missingCurveReported = false;
}

bool loadCurve(AnimCurve& curve)
{
    curve.keys.clear();
    curve.searchIndex = 0;
    const auto contents = FileSys::Instance()->ReadAll("Data\\anim\\" + curve.name);
    if (!contents)
        return false;
    curve.keys = DecodeCurveKeys(contents->data(), contents->size());
    return true;
}

bool ensureLoaded(CurveHandle& handle)
{
    AnimCurve& curve = handle.curve;
    // Watched even when missing: saving the file is how a maker adds it.
    handle.reload = ReloadHub::WatchIfLive({"Data\\anim\\" + curve.name}, [&handle] { reloadCurve(handle); });
    if (loadCurve(curve))
        return true;
    if (!missingCurveReported) {
        ReportNotice("File not found",
                     "No animCurve found in filesystem corresponding to registered curve: \"" + curve.name +
                         "\".\n(Skipping further error messages)");
        missingCurveReported = true;
    }
    setKey(curve, 0.0f, CurveKey{0.0f, 0.0f, 0.0f, 0.0f});
    setKey(curve, 10000.0f, CurveKey{10000.0f, 0.0f, 0.0f, 0.0f});
    return false;
}

void reloadCurve(CurveHandle& handle)
{
    AnimCurve fresh(handle.curve.name);
    if (!loadCurve(fresh))
        throw FrameworkEx("No animCurve found in filesystem corresponding to registered curve: \"" + fresh.name + "\"");
    // A live file may be half-made; keys out of time order would be searched wrongly forever.
    for (size_t i = 0; i < fresh.keys.size(); ++i)
        if (!std::isfinite(fresh.keys[i].time) || !std::isfinite(fresh.keys[i].value) ||
            (i > 0 && fresh.keys[i].time <= fresh.keys[i - 1].time))
            throw FrameworkEx("[reloadCurve] key " + std::to_string(i) +
                              " is not a finite time after the key before it");
    const std::optional<float> changed = firstChangedTime(handle.curve.keys, fresh.keys);
    handle.curve.keys.swap(fresh.keys);
    handle.curve.searchIndex = 0;
    if (ReloadHub* hub = ReloadHub::Instance(); hub && changed)
        hub->ReportSimulationChangeFrom(*changed);
}

std::optional<float> firstChangedTime(const std::vector<CurveKey>& before, const std::vector<CurveKey>& after)
{
    const auto same = [](const CurveKey& a, const CurveKey& b) {
        return a.time == b.time && a.value == b.value && a.inSlope == b.inSlope && a.outSlope == b.outSlope;
    };
    size_t i = 0;
    while (i < before.size() && i < after.size() && same(before[i], after[i]))
        ++i;
    if (i == before.size() && i == after.size())
        return std::nullopt;
    if (i > 0)
        return before[i - 1].time;
    // Before the first key a curve holds its first value, so the change runs from the start.
    return 0.0f;
}

void setKey(AnimCurve& curve, float time, const CurveKey& key)
{
    const int segment = findSegment(curve, time);
    if (segment >= 0 && curve.keys[segment].time == time) {
        CurveKey& existing = curve.keys[segment];
        existing.value = key.value;
        existing.inSlope = key.inSlope;
        existing.outSlope = key.outSlope;
    } else {
        // A time before the first key goes in front, so the keys stay in time order.
        const bool atFront = segment < 0 || time < curve.keys.front().time;
        curve.keys.insert(curve.keys.begin() + (atFront ? 0 : segment + 1), key);
    }
    curve.searchIndex = 0;
}

int findSegment(AnimCurve& curve, float x)
{
    const auto& keys = curve.keys;
    if (keys.empty())
        return -1;
    uint32_t i = curve.searchIndex < keys.size() ? curve.searchIndex : 0;
    if (x >= keys[i].time) {
        while (i + 1 < keys.size() && x >= keys[i + 1].time)
            ++i;
    } else {
        while (i > 0) {
            --i;
            if (keys[i].time <= x)
                break;
        }
    }
    curve.searchIndex = i;
    return static_cast<int>(i);
}

float evaluate(AnimCurve& curve, float x)
{
    const int s = findSegment(curve, x);
    if (s < 0)
        return 0.0f; // a present file shorter than one key
    const CurveKey& k0 = curve.keys[s];
    const bool last = static_cast<size_t>(s) + 1 == curve.keys.size();
    const CurveKey& k1 = last ? k0 : curve.keys[s + 1];
    const float dt = last ? CurveEndTime - k0.time : k1.time - k0.time;

    const float rise = k1.value - k0.value;
    const float dt2 = dt * dt;
    curve.A = (k1.inSlope + k0.outSlope) / dt2 - (2.0f * rise) / (dt2 * dt);
    curve.B = (3.0f * rise) / dt2 - (2.0f * k0.outSlope + k1.inSlope) / dt;
    curve.C = k0.outSlope;
    curve.D = k0.value;
    const float u = x - k0.time;
    return ((curve.A * u + curve.B) * u + curve.C) * u + curve.D;
}

float evaluate(CurveHandle& handle, float x)
{
    handle.lastValue = evaluate(handle.curve, x);
    return handle.lastValue;
}
