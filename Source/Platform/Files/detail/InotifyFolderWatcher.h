// FolderWatcher on Linux inotify: one watch per folder of the tree, a non-blocking descriptor.
#pragma once

#include "Platform/Files/FolderWatcher.h"

#include <map>

class InotifyFolderWatcher : public FolderWatcher {
public:
    explicit InotifyFolderWatcher(const std::string& folder);
    ~InotifyFolderWatcher() override;
    InotifyFolderWatcher(const InotifyFolderWatcher&) = delete;
    InotifyFolderWatcher& operator=(const InotifyFolderWatcher&) = delete;

    std::vector<std::string> TakeChanges() override;

private:
    // Watches the folder (relative to the root; "" is the root) and every folder under it. Files
    // already inside a folder made after watching began count as saved: they may have been written
    // before its watch existed.
    void WatchTree(const std::string& relative, std::vector<std::string>* found);
    void Saved(const std::string& relative, std::vector<std::string>& changes);

    std::string root;
    int descriptor = -1;
    std::map<int, std::string> folders; // watch -> folder relative to the root
};
