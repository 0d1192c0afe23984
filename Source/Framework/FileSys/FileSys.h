// The packed archive "basefile.dat" (the working folder's, or else the one beside the program): its
// directory is read once, and whole files are served by name, inflated on every read. Nothing is
// cached and the archive is not kept open.
//
// A maker's run may put a loose folder ahead of the archive: an entry "Data\x\y" found there as
// the file Data/x/y wins over the archive's entry, and is read afresh on every request, so that
// what is saved there is what the next load sees.
#pragma once

#include "Framework/Singleton.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

class FileSys : public Singleton<FileSys> {
public:
    struct Entry {
        uint32_t offset = 0;
        uint32_t unpackedSize = 0;
        uint32_t packedSize = 0;
    };

    // No entry may claim more than this many bytes once inflated, so a corrupt directory can never
    // make a caller allocate gigabytes.
    static constexpr uint32_t MaxUnpackedSize = 256u * 1024u * 1024u;
    // The longest entry name the directory parser reads as one word.
    static constexpr size_t MaxNameLength = 1023;

    FileSys();
    ~FileSys();

    // The entry's unpacked size, or 0 when there is no entry of exactly that name.
    uint32_t GetSize(const std::string& name) const;

    // Inflates the entry into destination, which holds at least GetSize(name) bytes. Returns the
    // unpacked size, or 0 (destination untouched) when there is no such entry.
    uint32_t ReadFile(const std::string& name, void* destination) const;

    // GetSize and ReadFile in one: the whole entry, or nothing when GetSize reports 0.
    std::optional<std::vector<unsigned char>> ReadAll(const std::string& name) const;

    const std::map<std::string, Entry>& Directory() const { return directory; }
    // The archive this instance reads: ArchivePath, or its path beside the program.
    const std::string& Path() const { return archivePath; }

    // Entries found in folder win over the archive's from now on; an empty folder turns it off.
    void SetLooseFolder(const std::string& folder);
    const std::string& LooseFolder() const { return looseFolder; }
    // The file in the loose folder that stands for the entry name, or nothing for a name that
    // cannot be one (a forward slash, an empty, "." or ".." part: nothing outside the folder is read).
    std::optional<std::string> LoosePath(const std::string& name) const;
    // The entry name a path relative to the loose folder stands for (separators become "\\").
    static std::string EntryNameOf(const std::string& relativePath);

    // Collects the name of every entry read while it lives (loose or packed, found or not), so that
    // a loader learns what its result depends on. Scopes nest; each sees every read.
    class ReadLog {
    public:
        explicit ReadLog(const FileSys& files);
        ~ReadLog();
        ReadLog(const ReadLog&) = delete;
        ReadLog& operator=(const ReadLog&) = delete;
        std::vector<std::string> names;

    private:
        const FileSys& files;
    };

    static inline const std::string ArchivePath = "basefile.dat";

    // The directory of the archive at archivePath, parsed exactly as the constructor parses
    // basefile.dat, so that tools see what the show sees.
    static std::map<std::string, Entry> ReadDirectory(const std::string& archivePath);
    // Inflates entry (listed as name) of the archive at archivePath into destination, which holds
    // at least entry.unpackedSize bytes.
    static void InflateEntry(const std::string& archivePath, const std::string& name, const Entry& entry,
                             void* destination);

private:
    void Logged(const std::string& name) const;
    std::optional<std::vector<unsigned char>> ReadLoose(const std::string& name) const;

    std::string archivePath;
    std::map<std::string, Entry> directory;
    std::string looseFolder;
    // What GetSize last reported of a loose file, so that a file changed between GetSize and
    // ReadFile cannot overrun the caller's buffer.
    mutable std::map<std::string, uint32_t> looseSizes;
    mutable std::vector<ReadLog*> readLogs;
};
