// The tools' view of an archive: the show's own directory parser and inflater, with every fault
// reported against the archive's path.
#pragma once

#include "Framework/FileSys/FileSys.h"

#include <map>
#include <string>
#include <vector>

// Throws InputError naming the archive.
std::map<std::string, FileSys::Entry> ReadArchiveDirectory(const std::string& archivePath);
// Throws InputError naming the archive and the entry.
std::vector<unsigned char> ReadArchiveEntry(const std::string& archivePath, const std::string& name,
                                            const FileSys::Entry& entry);
