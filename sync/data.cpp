#include "sync/data.h"

#include <cstdio>
#include <cstdlib>

void SyncAssertFailed(const char* expression, const char* file, int line)
{
    std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", expression, file, line);
    std::abort();
}

int SyncTrackList::getTrackIndex(const std::string& name) const
{
    for (size_t i = 0; i < tracks.size(); ++i)
        if (tracks[i]->name == name)
            return static_cast<int>(i);
    return -1;
}

int SyncTrackList::addTrack(const std::string& name)
{
    SYNC_ASSERT(0 > getTrackIndex(name));
    tracks.push_back(std::make_unique<SyncTrack>(name));
    SYNC_ASSERT(tracks.size() > 0);
    return static_cast<int>(tracks.size()) - 1;
}

SyncTrack& SyncTrackList::trackAt(size_t track) const
{
    SYNC_ASSERT(track < tracks.size());
    SYNC_ASSERT(NULL != tracks[track]);
    return *tracks[track];
}
