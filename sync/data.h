// The list of sync tracks, in creation order; a track's index never changes.
#pragma once

#include "sync/track.h"

#include <memory>
#include <string>
#include <vector>

class SyncTrackList {
public:
    // Index of the first track named exactly name, or -1.
    int getTrackIndex(const std::string& name) const;
    // Appends a new, empty track; no track of that name may exist yet.
    int addTrack(const std::string& name);
    SyncTrack& trackAt(size_t track) const;

    std::vector<std::unique_ptr<SyncTrack>> tracks;
};

// Reports a broken internal invariant (never caused by data) and stops the program.
[[noreturn]] void SyncAssertFailed(const char* expression, const char* file, int line);

#define SYNC_ASSERT(expression) ((expression) ? void(0) : SyncAssertFailed(#expression, __FILE__, __LINE__))
