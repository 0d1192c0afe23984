// Tells which files under a folder were saved (written and closed, or moved in), at any depth,
// including folders made after watching began. Polled: nothing waits, nothing runs on a thread.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

class FolderWatcher {
public:
    virtual ~FolderWatcher() = default;

    // The files saved since the last call, as paths relative to the folder with "/" between parts,
    // each once, in the order first saved. Empty when nothing was.
    virtual std::vector<std::string> TakeChanges() = 0;
};

// Thrown when the folder cannot be watched (it does not exist, the system refuses more watches).
class FolderWatchError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The platform's watcher of folder.
std::unique_ptr<FolderWatcher> WatchFolder(const std::string& folder);
