// An output file that is either whole under its final name or not there at all: the bytes go to a
// temporary file beside the final name, which is flushed to the disk and renamed onto the final
// name only on Commit. Whatever goes wrong before (a full disk, a size limit, an exception on the
// way), the temporary file is removed and an earlier file of the final name stays as it was.
// Every tool's output, the noise cache and the capture's files are written this way.
//
// A symbolic link is followed: the temporary file goes beside the file it names and the link
// stays. A device or a pipe cannot be replaced whole: it is written in place, every write checked,
// and is never replaced or removed.
#pragma once

#include <cstddef>
#include <string>

class AtomicFile {
public:
    // Opens the temporary file (or the device or pipe); throws FrameworkEx "<path>: cannot open the
    // file for writing: <why>".
    explicit AtomicFile(std::string path);
    // Without a Commit, closes and removes the temporary file.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Appends bytes; throws FrameworkEx "<path>: could not write the whole file: <why>".
    void Write(const void* data, size_t size);
    // Where the bytes go until the commit, for a library that writes a file by its name instead
    // (the device or pipe itself when written in place).
    const std::string& TemporaryPath() const { return temporary; }
    // Flushes the file to the disk and renames it onto the final name; throws FrameworkEx naming
    // the path and the reason when either fails (the temporary file is then removed).
    void Commit();

private:
    [[noreturn]] void Fail(const std::string& fault, int error);
    void Discard();

    std::string path;
    std::string target; // the file path names, its links followed
    std::string temporary;
    int descriptor = -1;
    bool inPlace = false;
    bool committed = false;
};

// What a name stands for once its links are followed, when that is neither a regular file nor
// nothing: "a folder", "a pipe", "a character device", "a block device" or "a socket"; otherwise
// empty. A writer that must seek back in its file or read it again asks before it starts.
std::string SpecialFileKind(const std::string& path);
