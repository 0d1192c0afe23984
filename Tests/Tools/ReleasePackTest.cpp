// The release's archive: the same files give the same bytes whatever order they were made in,
// whatever their times and permissions, and the archive holds them under fixed owners and times.
#include "Support/ArchiveFixture.h"
#include "Tools/ToolRun.h"

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

const std::string Pack = std::string(QL_SOURCE_DIR) + "scripts/release-pack";

void MakeRelease(const fs::path& folder, bool reversed, fs::perms dataMode)
{
    const std::vector<std::pair<std::string, std::string>> files = {
        {"basefile.dat", "archive"}, {"lib/libz.so.1", "library"}, {"player", "#!/bin/sh\n"}, {"README.txt", "text"}};
    fs::create_directories(folder / "lib");
    for (size_t i = 0; i < files.size(); ++i) {
        const auto& [name, contents] = files[reversed ? files.size() - 1 - i : i];
        WriteText((folder / name).string(), contents);
        fs::permissions(folder / name, name == "player" ? fs::perms::owner_all | dataMode : dataMode);
        fs::last_write_time(folder / name, fs::file_time_type::clock::now() - std::chrono::hours(reversed ? 30 : 1));
    }
}

} // namespace

using ReleasePackTest = ArchiveFixture;

TEST_F(ReleasePackTest, TheSameFilesGiveTheSameBytesUnderFixedOwnersTimesAndModes)
{
    MakeRelease("a/quiet-lantern-1.0", false, fs::perms::owner_read | fs::perms::owner_write);
    MakeRelease("b/quiet-lantern-1.0", true,
                fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::group_write |
                    fs::perms::others_read);
    ASSERT_EQ(Invoke(Pack, {"a/quiet-lantern-1.0", "1700000000", "a.tar.xz"}).exitCode, 0);
    const ToolRun second = Invoke(Pack, {"b/quiet-lantern-1.0", "1700000000", "b.tar.xz"});
    ASSERT_EQ(second.exitCode, 0) << second.err;
    EXPECT_TRUE(ReadText("a.tar.xz") == ReadText("b.tar.xz"));

    const ToolRun listing =
        Invoke("/usr/bin/tar", {"--list", "--verbose", "--numeric-owner", "--full-time", "--file", "a.tar.xz"});
    ASSERT_EQ(listing.exitCode, 0) << listing.err;
    EXPECT_EQ(listing.out, "drwxr-xr-x 0/0               0 2023-11-14 22:13:20 quiet-lantern-1.0/\n"
                           "-rw-r--r-- 0/0               4 2023-11-14 22:13:20 quiet-lantern-1.0/README.txt\n"
                           "-rw-r--r-- 0/0               7 2023-11-14 22:13:20 quiet-lantern-1.0/basefile.dat\n"
                           "drwxr-xr-x 0/0               0 2023-11-14 22:13:20 quiet-lantern-1.0/lib/\n"
                           "-rw-r--r-- 0/0               7 2023-11-14 22:13:20 quiet-lantern-1.0/lib/libz.so.1\n"
                           "-rwxr-xr-x 0/0              10 2023-11-14 22:13:20 quiet-lantern-1.0/player\n");
}
