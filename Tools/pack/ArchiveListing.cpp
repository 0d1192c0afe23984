#include "ArchiveListing.h"

#include "ArchiveDirectory.h"

void ListArchive(const std::string& archivePath, std::ostream& out)
{
    for (const auto& [name, entry] : ReadArchiveDirectory(archivePath))
        out << name << ' ' << entry.unpackedSize << ' ' << entry.packedSize << ' ' << entry.offset << '\n';
}
