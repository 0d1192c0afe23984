#include "BenchArchive.h"

#include "Framework/FileSys/ArchiveWriter.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

MountedArchive::MountedArchive(const std::vector<unsigned char>& archive)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "ql-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a directory " + pattern + ": " + std::strerror(errno));
    previous = std::filesystem::current_path();
    directory = pattern;
    std::filesystem::current_path(directory);
    try {
        WriteWholeFile(FileSys::ArchivePath, archive);
        fileSys = std::make_unique<FileSys>();
    } catch (...) {
        // The destructor does not run for a constructor that throws.
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(directory);
        throw;
    }
}

MountedArchive::~MountedArchive()
{
    fileSys.reset();
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(directory);
}
