// The maker's loose data folder, watched: what is saved there reaches the reload hub as archive
// entry names, all the saves of one moment at once, so that a build writing many files reloads
// them in one go.
#pragma once

#include "Framework/LiveReload/ReloadHub.h"
#include "Platform/Files/FolderWatcher.h"

#include <chrono>
#include <memory>
#include <set>
#include <string>

class LiveData {
public:
    using Clock = std::chrono::steady_clock;
    // Saves closer together than this are one change; a build's files come out within it.
    static constexpr auto SettleTime = std::chrono::milliseconds(40);
    // A file the data build (scripts/live) saves into the folder after every run, last: the messages
    // of the sources it refused, one a line, or nothing. Its faults are shown with the show's own,
    // and its save ends the build's batch, which then reloads without waiting to settle.
    static inline const std::string BuildProblemsFile = "data-build-problems.txt";

    LiveData(std::string folder, ReloadHub& hub, std::unique_ptr<FolderWatcher> watcher);

    // Takes what was saved; once nothing more came for SettleTime, or at once when the data build
    // told its end, reloads every entry saved and returns how many reloads ran.
    size_t Poll(Clock::time_point now = Clock::now());

    const std::string& Folder() const { return folder; }

private:
    void ReadBuildProblems();

    std::string folder;
    ReloadHub& hub;
    std::unique_ptr<FolderWatcher> watcher;
    std::set<std::string> pending;
    Clock::time_point lastSave;
};
