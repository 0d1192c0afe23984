// Exported animation: one cubic Hermite curve over show seconds per animated scalar, loaded from
// "Data\anim\" + its name. A missing curve reads 0 and is reported once per run.
#pragma once

#include "Framework/LiveReload/ReloadHub.h"
#include "Framework/Scene/CurveFile.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct AnimCurve {
    explicit AnimCurve(std::string name) : name(std::move(name)) {}

    std::string name;
    std::vector<CurveKey> keys; // ascending time; nothing sorts them
    uint32_t searchIndex = 0;   // the segment found last, so forward playback is O(1)
    float A = 0.0f, B = 0.0f, C = 0.0f, D = 0.0f;
};

struct CurveHandle {
    explicit CurveHandle(std::string name) : curve(std::move(name)) {}

    AnimCurve curve;
    float lastValue = 0.0f;
    // A maker's run: the curve loads again when its file is saved (see reloadCurve).
    ReloadHub::Subscription reload;
};

// The segment base of the last shipped key: the last key opens a segment ending here.
constexpr float CurveEndTime = 200000.0f;

std::unique_ptr<CurveHandle> registerCurve(const std::string& name);

// Loads the keys from the archive; false, with no keys, when the entry is missing or empty.
bool loadCurve(AnimCurve& curve);

// True when the curve loaded. Otherwise the first missing curve of the run is reported as a notice
// (Framework/Notice.h: a message box in the player), and the curve is made to read 0 everywhere.
bool ensureLoaded(CurveHandle& handle);

// Loads the curve again; when its file is missing the curve keeps its keys and FrameworkEx is
// raised. Tells the reload hub, if there is one, the first show second the new keys change.
void reloadCurve(CurveHandle& handle);

// The first time from which two key lists may give different values: the key before the first
// difference, 0 when they differ at their first key; nothing when they are the same.
std::optional<float> firstChangedTime(const std::vector<CurveKey>& before, const std::vector<CurveKey>& after);

// Forgets that a missing curve was reported; a new run (or test) starts with this.
void resetMissingCurveReport();

// Replaces the key at exactly time, or inserts key after the segment of time.
void setKey(AnimCurve& curve, float time, const CurveKey& key);

// The index of the last key at or before x, 0 before the first key, -1 without keys.
int findSegment(AnimCurve& curve, float x);

// The value at x seconds; a curve without keys reads 0.
float evaluate(AnimCurve& curve, float x);
float evaluate(CurveHandle& handle, float x);
