#include "Platform/Files/detail/InotifyFolderWatcher.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr uint32_t FolderEvents = IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE | IN_DELETE_SELF;

std::string Join(const std::string& folder, const std::string& name)
{
    return folder.empty() ? name : folder + "/" + name;
}

} // namespace

InotifyFolderWatcher::InotifyFolderWatcher(const std::string& folder) : root(folder)
{
    std::error_code error;
    if (!fs::is_directory(folder, error))
        throw FolderWatchError("Cannot watch \"" + folder + "\": no such folder");
    descriptor = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (descriptor < 0)
        throw FolderWatchError("Cannot watch \"" + folder + "\": " + std::strerror(errno));
    try {
        WatchTree("", nullptr);
    } catch (...) {
        close(descriptor);
        throw;
    }
}

InotifyFolderWatcher::~InotifyFolderWatcher()
{
    close(descriptor);
}

void InotifyFolderWatcher::WatchTree(const std::string& relative, std::vector<std::string>* found)
{
    const std::string path = relative.empty() ? root : root + "/" + relative;
    const int watch = inotify_add_watch(descriptor, path.c_str(), FolderEvents);
    if (watch < 0) {
        // A folder gone again before its watch was made has nothing to tell.
        if (errno == ENOENT)
            return;
        throw FolderWatchError("Cannot watch \"" + path + "\": " + std::strerror(errno));
    }
    folders[watch] = relative;
    std::error_code error;
    for (const auto& item : fs::directory_iterator(path, error)) {
        const std::string name = item.path().filename().string();
        if (item.is_directory(error))
            WatchTree(Join(relative, name), found);
        else if (found && item.is_regular_file(error))
            found->push_back(Join(relative, name));
    }
}

void InotifyFolderWatcher::Saved(const std::string& relative, std::vector<std::string>& changes)
{
    if (std::find(changes.begin(), changes.end(), relative) == changes.end())
        changes.push_back(relative);
}

std::vector<std::string> InotifyFolderWatcher::TakeChanges()
{
    std::vector<std::string> changes;
    alignas(inotify_event) char buffer[64 * 1024];
    for (;;) {
        const ssize_t length = read(descriptor, buffer, sizeof buffer);
        if (length <= 0)
            break; // EAGAIN: nothing more for now
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            const auto folder = folders.find(event->wd);
            if (event->mask & IN_IGNORED) {
                if (folder != folders.end())
                    folders.erase(folder);
                continue;
            }
            if (folder == folders.end() || event->len == 0)
                continue;
            const std::string relative = Join(folder->second, event->name);
            if (event->mask & IN_ISDIR) {
                if (event->mask & (IN_CREATE | IN_MOVED_TO)) {
                    std::vector<std::string> found;
                    WatchTree(relative, &found);
                    for (const std::string& file : found)
                        Saved(file, changes);
                }
            } else if (event->mask & (IN_CLOSE_WRITE | IN_MOVED_TO)) {
                Saved(relative, changes);
            }
        }
    }
    return changes;
}
