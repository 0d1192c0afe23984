// An output file that is either whole under its final name or not there at all: the bytes go to a
// temporary file beside the final name, which is flushed to the disk and renamed onto the final
// name only on Commit. Whatever goes wrong before (a full disk, a size limit, an exception on the
// way), the temporary file is removed and an earlier file of the final name stays as it was.
// Every tool's output, the noise cache and the capture's files are written this way.
#pragma once

#include <cstddef>
#include <string>

class AtomicFile {
public:
    // Opens the temporary file; throws FrameworkEx "<path>: cannot open the file for writing: <why>".
    explicit AtomicFile(std::string path);
    // Without a Commit, closes and removes the temporary file.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Appends bytes; throws FrameworkEx "<path>: could not write the whole file: <why>".
    void Write(const void* data, size_t size);
    // Where the bytes go until the commit, for a library that writes a file by its name instead.
    const std::string& TemporaryPath() const { return temporary; }
    // Flushes the file to the disk and renames it onto the final name; throws FrameworkEx naming
    // the path and the reason when either fails (the temporary file is then removed).
    void Commit();

private:
    [[noreturn]] void Fail(const std::string& fault, int error);
    void Discard();

    std::string path;
    std::string temporary;
    int descriptor = -1;
    bool committed = false;
};
