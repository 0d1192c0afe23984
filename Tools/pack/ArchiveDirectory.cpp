#include "ArchiveDirectory.h"

#include "ToolMain.h"

#include "Framework/FrameworkEx.h"

std::map<std::string, FileSys::Entry> ReadArchiveDirectory(const std::string& archivePath)
{
    try {
        return FileSys::ReadDirectory(archivePath);
    } catch (const FrameworkEx& e) {
        RefuseFile(archivePath, e.message);
    }
}

std::vector<unsigned char> ReadArchiveEntry(const std::string& archivePath, const std::string& name,
                                            const FileSys::Entry& entry)
{
    std::vector<unsigned char> contents(entry.unpackedSize);
    try {
        FileSys::InflateEntry(archivePath, name, entry, contents.data());
    } catch (const FrameworkEx& e) {
        RefuseFile(archivePath, "entry \"" + name + "\": " + e.message);
    }
    return contents;
}
