#include "sync/device.h"

#include <new>

std::string SyncDevice::trackFileName(const std::string& name) const
{
    return baseName + "_" + name + ".track";
}

SyncTrack& SyncFilePlayer::trackByName(const std::string& name)
{
    const int existing = tracks.getTrackIndex(name);
    if (existing >= 0)
        return tracks.trackAt(static_cast<size_t>(existing));

    // The track joins the list before loading, so a failed load still leaves it (empty) there.
    SyncTrack& track = tracks.trackAt(static_cast<size_t>(tracks.addTrack(name)));
    const std::string fileName = trackFileName(name);
    loadTrack(track, fileName);
    reloads.push_back(ReloadHub::WatchIfLive({"Data\\" + fileName}, [&track, fileName] { reloadTrack(track, fileName); }));
    return track;
}

bool SyncFilePlayer::update(float)
{
    return true;
}

std::unique_ptr<SyncDevice> createSyncDevice(const std::string& baseName, SyncTimer* timer)
{
    return std::unique_ptr<SyncDevice>(new (std::nothrow) SyncFilePlayer(baseName, timer));
}
