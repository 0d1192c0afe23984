// Writes archives in the format FileSys reads: a "0x%08lx\n" header holding the directory end, one
// four-line directory record per entry (name, offset, packed size, unpacked size; 8 lower-case
// hex digits each), then each entry's zlib stream. The same entries always give the same bytes.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

class ArchiveWriter {
public:
    // Compresses contents (zlib, best compression) into a new entry.
    void Add(const std::string& name, const std::vector<unsigned char>& contents);
    // Stores an entry whose compressed bytes and claimed size are given as they are.
    void AddPacked(const std::string& name, std::vector<unsigned char> packed, uint32_t unpackedSize);
    // Every entry of the archive at archivePath, in the order of its directory as FileSys reads it,
    // but those named in except, each with its compressed bytes as they are (nothing is inflated or
    // compressed again). Throws FrameworkEx when the archive cannot be read or an entry's data lies
    // beyond its end.
    void AddEntriesOf(const std::string& archivePath, const std::set<std::string>& except = {});

    // The archive with the entries in the order added. Throws FrameworkEx when a name is not a
    // single word or the archive would exceed 4 GiB.
    std::vector<unsigned char> Build() const;

private:
    struct Entry {
        std::string name;
        std::vector<unsigned char> packed;
        uint32_t unpackedSize;
    };
    std::vector<Entry> entries;
};

// Writes the file through AtomicFile: whole or not at all. Throws FrameworkEx naming the path and
// the reason when it cannot be written completely.
void WriteWholeFile(const std::string& path, const std::vector<unsigned char>& bytes);
// Throws FrameworkEx naming the path when the file cannot be read.
std::vector<unsigned char> ReadWholeFile(const std::string& path);
