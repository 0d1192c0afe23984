#include "Support/ArchiveFixture.h"

#include <unistd.h>

std::vector<unsigned char> Bytes(const std::string& text)
{
    return std::vector<unsigned char>(text.begin(), text.end());
}

void ArchiveFixture::SetUp()
{
    previous = std::filesystem::current_path();
    std::string pattern = (std::filesystem::temp_directory_path() / "ql-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    directory = pattern;
    std::filesystem::current_path(directory);
}

void ArchiveFixture::TearDown()
{
    fileSys.reset();
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(directory);
}

void ArchiveFixture::WriteArchive(const std::vector<unsigned char>& bytes)
{
    WriteWholeFile(FileSys::ArchivePath, bytes);
}

void ArchiveFixture::Mount(const ArchiveWriter& writer)
{
    fileSys.reset();
    WriteArchive(writer.Build());
    fileSys = std::make_unique<FileSys>();
}
