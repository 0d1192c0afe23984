// Sync tracks: named keyed curves over rows, evaluated at fractional rows.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct SyncKey {
    enum Type : int32_t { Step = 0, Linear = 1, Cosine = 2, Quadratic = 3 };

    float value = 0.0f;
    int32_t type = Step; // governs the span from this key to the next one
};

class SyncTrack {
public:
    explicit SyncTrack(std::string name) : name(std::move(name)) {}

    // The value at time (in rows). Allocates nothing.
    float valueAt(float time) const;

    const std::string name;
    std::map<uint32_t, SyncKey> keys;

private:
    mutable bool reportedBadType = false;
};

struct TrackRecord;

// Stores decoded records as keys: a later record of a row replaces an earlier one.
void storeTrackRecords(SyncTrack& track, const std::vector<TrackRecord>& records);

// Fills track's keys from the archive entry "Data\" + fileName; raises FrameworkEx
// "loadTrack failed on <path>" when the entry is missing or empty.
bool loadTrack(SyncTrack& track, const std::string& fileName);

// Loads the track again; when that fails (FrameworkEx) the track keeps its keys. Tells the reload
// hub, if there is one, the first show second the new keys change.
void reloadTrack(SyncTrack& track, const std::string& fileName);

// The first row from which two key sets may give different values: the key before the first
// difference (a span runs from one key to the next), or the difference itself when that key is a
// step; 0 when the difference is at the first key; nothing when they are the same.
std::optional<uint32_t> firstChangedRow(const std::map<uint32_t, SyncKey>& before,
                                        const std::map<uint32_t, SyncKey>& after);
