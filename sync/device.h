// Sync devices: where tracks come from. Only the file player exists: tracks load from their
// ".track" entries in the archive, and again when a maker saves one under a running show.
#pragma once

#include "Framework/LiveReload/ReloadHub.h"
#include "sync/data.h"
#include "sync/timer.h"

#include <memory>
#include <string>

class SyncDevice {
public:
    explicit SyncDevice(std::string baseName) : baseName(std::move(baseName)) {}
    virtual ~SyncDevice() = default;

    // The track of that name, loaded on first request; the reference lives as long as the device.
    virtual SyncTrack& trackByName(const std::string& name) = 0;
    virtual bool update(float row) = 0;

    // baseName + "_" + name + ".track"
    std::string trackFileName(const std::string& name) const;

    const std::string baseName;
};

class SyncFilePlayer : public SyncDevice {
public:
    SyncFilePlayer(std::string baseName, SyncTimer* timer) : SyncDevice(std::move(baseName)), timer(timer) {}

    SyncTrack& trackByName(const std::string& name) override;
    bool update(float row) override;

    SyncTimer* const timer;
    SyncTrackList tracks;

private:
    // A maker's run: each track loads again when its file is saved (see reloadTrack).
    std::vector<ReloadHub::Subscription> reloads;
};

// A new file player, or null when it cannot be created.
std::unique_ptr<SyncDevice> createSyncDevice(const std::string& baseName, SyncTimer* timer);
