// Runs a test in a fresh working directory where it can write "basefile.dat", and restores the
// previous directory afterwards.
#pragma once

#include "Framework/FileSys/ArchiveWriter.h"
#include "Framework/FileSys/FileSys.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

std::vector<unsigned char> Bytes(const std::string& text);

class ArchiveFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the archive to basefile.dat and opens it.
    void Mount(const ArchiveWriter& writer);
    void WriteArchive(const std::vector<unsigned char>& bytes);

    std::filesystem::path directory;
    std::unique_ptr<FileSys> fileSys;

private:
    std::filesystem::path previous;
};
