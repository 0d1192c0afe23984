#include "Framework/FileSys/ArchiveWriter.h"

#include "Framework/FileSys/AtomicFile.h"
#include "Framework/FileSys/FileSys.h"
#include "Framework/FrameworkEx.h"

#include <zlib.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

constexpr size_t HeaderSize = 11;   // "0x" + 8 digits + line feed
constexpr size_t RecordFields = 27; // three 8-digit numbers and their line feeds

std::string Hex8(uint64_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08lx", static_cast<unsigned long>(value));
    return text;
}

bool IsSingleWord(const std::string& name)
{
    if (name.empty())
        return false;
    for (unsigned char c : name)
        if (c <= ' ' || c == 0x7f)
            return false;
    return true;
}

} // namespace

void ArchiveWriter::Add(const std::string& name, const std::vector<unsigned char>& contents)
{
    uLongf packedSize = compressBound(contents.size());
    std::vector<unsigned char> packed(packedSize);
    if (compress2(packed.data(), &packedSize, contents.data(), contents.size(), Z_BEST_COMPRESSION) != Z_OK)
        throw FrameworkEx("[ArchiveWriter::Add]: Could not compress \"" + name + "\"");
    packed.resize(packedSize);
    AddPacked(name, std::move(packed), static_cast<uint32_t>(contents.size()));
}

void ArchiveWriter::AddPacked(const std::string& name, std::vector<unsigned char> packed, uint32_t unpackedSize)
{
    if (!IsSingleWord(name))
        throw FrameworkEx("[ArchiveWriter::Add]: Entry name \"" + name + "\" is not a single word");
    entries.push_back(Entry{name, std::move(packed), unpackedSize});
}

void ArchiveWriter::AddEntriesOf(const std::string& archivePath, const std::set<std::string>& except)
{
    const std::map<std::string, FileSys::Entry> directory = FileSys::ReadDirectory(archivePath);
    const std::vector<unsigned char> archive = ReadWholeFile(archivePath);
    for (const auto& [name, entry] : directory) {
        if (except.count(name))
            continue;
        if (uint64_t{entry.offset} + entry.packedSize > archive.size())
            throw FrameworkEx("[ArchiveWriter::AddEntriesOf]: Archive \"" + archivePath + "\" ends inside the data of " + name);
        const auto packed = archive.begin() + entry.offset;
        AddPacked(name, std::vector<unsigned char>(packed, packed + entry.packedSize), entry.unpackedSize);
    }
}

std::vector<unsigned char> ArchiveWriter::Build() const
{
    uint64_t directoryEnd = HeaderSize;
    for (const Entry& entry : entries)
        directoryEnd += entry.name.size() + 1 + RecordFields;

    std::string directory = "0x" + Hex8(directoryEnd) + "\n";
    uint64_t offset = directoryEnd;
    for (const Entry& entry : entries) {
        directory += entry.name + "\n" + Hex8(offset) + "\n" + Hex8(entry.packed.size()) + "\n" +
                     Hex8(entry.unpackedSize) + "\n";
        offset += entry.packed.size();
    }
    if (offset > UINT32_MAX)
        throw FrameworkEx("[ArchiveWriter::Build]: The archive would exceed 4 GiB");

    std::vector<unsigned char> archive(directory.begin(), directory.end());
    archive.reserve(offset);
    for (const Entry& entry : entries)
        archive.insert(archive.end(), entry.packed.begin(), entry.packed.end());
    return archive;
}

void WriteWholeFile(const std::string& path, const std::vector<unsigned char>& bytes)
{
    AtomicFile file(path);
    file.Write(bytes.data(), bytes.size());
    file.Commit();
}

std::vector<unsigned char> ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw FrameworkEx("Could not open \"" + path + "\"");
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw FrameworkEx("Could not read \"" + path + "\"");
    return bytes;
}
