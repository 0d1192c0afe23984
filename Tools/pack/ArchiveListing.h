// The directory of an archive as the show reads it (the first of two entries of the same name
// wins), one line per entry in name order: name, unpacked size, packed size, offset, in decimal,
// separated by single blanks.
#pragma once

#include <ostream>
#include <string>

// Throws InputError naming the archive when its directory cannot be read.
void ListArchive(const std::string& archivePath, std::ostream& out);
