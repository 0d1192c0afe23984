// An archive mounted for a benchmark: "basefile.dat" written into a directory of its own that is
// the working directory while the archive is mounted (FileSys opens the archive by its bare name),
// and FileSys open on it. The directory is removed and the previous working directory restored
// when it goes. FileSys exists once at a time, so so does a mounted archive.
#pragma once

#include "Framework/FileSys/FileSys.h"

#include <filesystem>
#include <memory>
#include <vector>

class MountedArchive {
public:
    // Throws std::runtime_error when no directory can be made, FrameworkEx when the archive cannot
    // be written or read.
    explicit MountedArchive(const std::vector<unsigned char>& archive);
    ~MountedArchive();
    MountedArchive(const MountedArchive&) = delete;
    MountedArchive& operator=(const MountedArchive&) = delete;

    const FileSys& Files() const { return *fileSys; }

private:
    std::filesystem::path previous, directory;
    std::unique_ptr<FileSys> fileSys;
};
