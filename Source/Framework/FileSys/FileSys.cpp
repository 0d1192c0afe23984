#include "Framework/FileSys/FileSys.h"

#include "Framework/FileSys/ArchiveLocation.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string CorruptEntry(const std::string& name, const std::string& fault)
{
    return "Data base file corrupt.  Entry " + Quoted(name) + " " + fault;
}

} // namespace

FileSys::FileSys()
    : Singleton("FileSys"), archivePath(LocateArchive(ArchivePath, ProgramFolder())), directory(ReadDirectory(archivePath))
{
}

FileSys::~FileSys() = default;

std::map<std::string, FileSys::Entry> FileSys::ReadDirectory(const std::string& archivePath)
{
    File archive(std::fopen(archivePath.c_str(), "rb"));
    if (!archive)
        throw FrameworkEx("Failure: Could not open " + Quoted(archivePath) + " when reading database\n");

    std::fseek(archive.get(), 0, SEEK_END);
    const long archiveSize = std::ftell(archive.get());
    std::fseek(archive.get(), 0, SEEK_SET);

    unsigned long end = 0;
    if (std::fscanf(archive.get(), "0x%08lx\n", &end) != 1)
        throw FrameworkEx("Data base file corrupt.  " + Quoted(archivePath) + " does not start with its directory size");
    const uint32_t directoryEnd = static_cast<uint32_t>(end);

    // Names are single words; one longer than the buffer splits and then fails to scan as an entry.
    char name[MaxNameLength + 1];
    static_assert(MaxNameLength == 1023, "the scan width below must match");
    std::map<std::string, Entry> directory;
    unsigned count = 0;
    while (std::ftell(archive.get()) < static_cast<long>(directoryEnd)) {
        unsigned long offset = 0, packed = 0, unpacked = 0;
        if (std::fscanf(archive.get(), "%1023s\n%08lx\n%08lx\n%08lx\n", name, &offset, &packed, &unpacked) < 4)
            throw FrameworkEx("Data base file corrupt.  Corruption detected while reading file #" + std::to_string(count));
        if (directory.contains(name))
            continue;

        Entry entry{static_cast<uint32_t>(offset), static_cast<uint32_t>(unpacked), static_cast<uint32_t>(packed)};
        if (uint64_t(entry.offset) + entry.packedSize > uint64_t(archiveSize))
            throw FrameworkEx(CorruptEntry(name, "lies beyond the end of the archive"));
        if (entry.unpackedSize > MaxUnpackedSize)
            throw FrameworkEx(CorruptEntry(name, "claims " + std::to_string(entry.unpackedSize) +
                                                     " bytes, more than the " + std::to_string(MaxUnpackedSize) +
                                                     " an entry may hold"));
        directory.emplace(name, entry);
        ++count;
    }
    return directory;
}

uint32_t FileSys::GetSize(const std::string& name) const
{
    Logged(name);
    if (!looseFolder.empty()) {
        if (auto loose = ReadLoose(name)) {
            const auto size = static_cast<uint32_t>(loose->size());
            looseSizes[name] = size;
            return size;
        }
    }
    auto found = directory.find(name);
    return found == directory.end() ? 0 : found->second.unpackedSize;
}

uint32_t FileSys::ReadFile(const std::string& name, void* destination) const
{
    Logged(name);
    if (!looseFolder.empty()) {
        if (auto loose = ReadLoose(name)) {
            const auto reported = looseSizes.find(name);
            if (reported == looseSizes.end() || reported->second != loose->size())
                throw FrameworkEx("[FileSys::ReadFile]: " + Quoted(name) + " changed while it was being read");
            std::copy(loose->begin(), loose->end(), static_cast<unsigned char*>(destination));
            return reported->second;
        }
    }
    auto found = directory.find(name);
    if (found == directory.end())
        return 0;
    InflateEntry(archivePath, name, found->second, destination);
    return found->second.unpackedSize;
}

void FileSys::InflateEntry(const std::string& archivePath, const std::string& name, const Entry& entry,
                           void* destination)
{
    File archive(std::fopen(archivePath.c_str(), "rb"));
    if (!archive)
        throw FrameworkEx("Failure: Could not open " + Quoted(archivePath) + " when trying to read file " + name);

    std::vector<unsigned char> packed(entry.packedSize);
    if (std::fseek(archive.get(), static_cast<long>(entry.offset), SEEK_SET) != 0 ||
        std::fread(packed.data(), 1, packed.size(), archive.get()) != packed.size())
        throw FrameworkEx("[FileSys::ReadFile]: Archive " + Quoted(archivePath) + " ends inside the data of " + name);
    archive.reset();

    // A stream that inflates to fewer bytes than the directory claims would leave part of the
    // caller's buffer unwritten, so it fails like any other bad stream.
    uLongf produced = entry.unpackedSize;
    const int result = uncompress(static_cast<Bytef*>(destination), &produced, packed.data(), packed.size());
    if (result != Z_OK || produced != entry.unpackedSize)
        throw FrameworkEx("[FileSys::ReadFile]: Error uncompressing file");
}

std::optional<std::vector<unsigned char>> FileSys::ReadAll(const std::string& name) const
{
    if (!looseFolder.empty()) {
        Logged(name);
        // One read of a loose file, so that a save between two reads cannot tear it.
        if (auto loose = ReadLoose(name))
            return loose->empty() ? std::nullopt : std::move(loose);
    }
    const uint32_t size = GetSize(name);
    if (size == 0)
        return std::nullopt;
    std::vector<unsigned char> contents(size);
    ReadFile(name, contents.data());
    return contents;
}

void FileSys::SetLooseFolder(const std::string& folder)
{
    looseFolder = folder;
    looseSizes.clear();
}

std::optional<std::string> FileSys::LoosePath(const std::string& name) const
{
    if (looseFolder.empty() || name.empty() || name.find('/') != std::string::npos)
        return std::nullopt;
    std::string path = looseFolder;
    size_t start = 0;
    while (start <= name.size()) {
        const size_t end = std::min(name.find('\\', start), name.size());
        const std::string part = name.substr(start, end - start);
        if (part.empty() || part == "." || part == "..")
            return std::nullopt;
        path += "/" + part;
        start = end + 1;
    }
    return path;
}

std::string FileSys::EntryNameOf(const std::string& relativePath)
{
    std::string name = relativePath;
    std::replace(name.begin(), name.end(), '/', '\\');
    return name;
}

std::optional<std::vector<unsigned char>> FileSys::ReadLoose(const std::string& name) const
{
    const auto path = LoosePath(name);
    std::error_code error;
    if (!path || !std::filesystem::is_regular_file(*path, error))
        return std::nullopt;
    std::ifstream file(*path, std::ios::binary);
    if (!file)
        throw FrameworkEx("Failure: Could not open " + Quoted(*path) + " when trying to read file " + name);
    std::vector<unsigned char> contents;
    char block[65536];
    while (file.read(block, sizeof block) || file.gcount() > 0) {
        contents.insert(contents.end(), block, block + file.gcount());
        if (contents.size() > MaxUnpackedSize)
            throw FrameworkEx("[FileSys::ReadFile]: " + Quoted(*path) + " is larger than the " +
                              std::to_string(MaxUnpackedSize) + " bytes an entry may hold");
    }
    return contents;
}

void FileSys::Logged(const std::string& name) const
{
    for (ReadLog* log : readLogs)
        if (std::find(log->names.begin(), log->names.end(), name) == log->names.end())
            log->names.push_back(name);
}

FileSys::ReadLog::ReadLog(const FileSys& files) : files(files)
{
    files.readLogs.push_back(this);
}

FileSys::ReadLog::~ReadLog()
{
    std::erase(files.readLogs, this);
}
