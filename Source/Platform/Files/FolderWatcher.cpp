#include "Platform/Files/FolderWatcher.h"

#include "Platform/Files/detail/InotifyFolderWatcher.h"

std::unique_ptr<FolderWatcher> WatchFolder(const std::string& folder)
{
    return std::make_unique<InotifyFolderWatcher>(folder);
}
