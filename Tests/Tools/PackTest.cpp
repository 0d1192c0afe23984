#include "Support/ArchiveFixture.h"
#include "Tools/ToolRun.h"

#include <chrono>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// name -> contents, as files under folder with backslashes turned into folders.
using Files = std::map<std::string, std::string>;

void WriteFolder(const fs::path& folder, const Files& files)
{
    for (const auto& [name, contents] : files) {
        std::string relative = name;
        std::replace(relative.begin(), relative.end(), '\\', '/');
        fs::create_directories((folder / relative).parent_path());
        WriteText((folder / relative).string(), contents);
    }
}

const Files ShowFiles = {
    {"Data\\events\\Scenes.txt", "0 TindreVikIntro\n15 TindrevikPart1\n"},
    {"Data\\anim\\Camera1.translateX", std::string(48, '\x3f')},
    {"Data\\empty.txt", ""},
    {"top.bin", std::string("\0\1\2\3", 4)},
};

class PackTest : public ArchiveFixture {};

TEST_F(PackTest, ListShowsEveryFileAsTheShowReadsIt)
{
    WriteFolder("in", ShowFiles);
    ASSERT_EQ(Invoke(QL_PACK, {"in", "-o", "out.dat"}).exitCode, 0);

    const ToolRun list = Invoke(QL_PACK, {"--list", "out.dat"});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    const auto directory = FileSys::ReadDirectory("out.dat");
    std::string expected;
    for (const auto& [name, entry] : directory)
        expected += name + " " + std::to_string(entry.unpackedSize) + " " + std::to_string(entry.packedSize) + " " +
                    std::to_string(entry.offset) + "\n";
    EXPECT_EQ(list.out, expected);

    // The show finds every file under its backslash name, with its contents.
    fs::rename("out.dat", FileSys::ArchivePath);
    fileSys = std::make_unique<FileSys>();
    ASSERT_EQ(fileSys->Directory().size(), ShowFiles.size());
    for (const auto& [name, contents] : ShowFiles) {
        ASSERT_TRUE(fileSys->Directory().contains(name)) << name;
        std::string read(fileSys->GetSize(name), '\0');
        fileSys->ReadFile(name, read.data());
        EXPECT_EQ(read, contents) << name;
    }
}

TEST_F(PackTest, EntriesAreStoredInByteWiseNameOrderWhateverTheFolderOrderTimesAndModes)
{
    WriteFolder("a", ShowFiles);
    for (auto file = ShowFiles.rbegin(); file != ShowFiles.rend(); ++file)
        WriteFolder("b", {*file});
    // Two builds differ in when and with which permissions they wrote the staged files.
    for (const auto& entry : fs::recursive_directory_iterator("b"))
        if (entry.is_regular_file()) {
            fs::last_write_time(entry.path(), fs::file_time_type::clock::now() - std::chrono::hours(24 * 400));
            fs::permissions(entry.path(), fs::perms::owner_read | fs::perms::owner_write);
        }
    ArchiveWriter sorted;
    for (const auto& [name, contents] : ShowFiles)
        sorted.Add(name, Bytes(contents));

    ASSERT_EQ(Invoke(QL_PACK, {"a", "-o", "a.dat"}).exitCode, 0);
    ASSERT_EQ(Invoke(QL_PACK, {"b", "-o", "b.dat"}).exitCode, 0);
    EXPECT_TRUE(ReadWholeFile("a.dat") == sorted.Build());
    EXPECT_TRUE(ReadWholeFile("b.dat") == sorted.Build());
}

TEST_F(PackTest, ListKeepsTheFirstOfTwoEntriesWithTheSameName)
{
    ArchiveWriter writer;
    writer.Add("dup", Bytes("first"));
    writer.Add("dup", Bytes("second!"));
    WriteWholeFile("dup.dat", writer.Build());
    const ToolRun list = Invoke(QL_PACK, {"--list", "dup.dat"});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.out.substr(0, 6), "dup 5 ");
    EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 1);
}

TEST_F(PackTest, ExtractWritesEveryEntryBack)
{
    WriteFolder("in", ShowFiles);
    ASSERT_EQ(Invoke(QL_PACK, {"in", "-o", "out.dat"}).exitCode, 0);
    const ToolRun extract = Invoke(QL_PACK, {"--extract", "out.dat", "back"});
    ASSERT_EQ(extract.exitCode, 0) << extract.err;
    for (const auto& [name, contents] : ShowFiles) {
        std::string relative = name;
        std::replace(relative.begin(), relative.end(), '\\', '/');
        EXPECT_TRUE(fs::is_regular_file("back/" + relative)) << relative;
        EXPECT_EQ(ReadText("back/" + relative), contents) << relative;
    }
}

TEST_F(PackTest, ExtractRefusesNamesThatLeaveTheFolderAndWritesNothing)
{
    for (const std::string name : {"..\\..\\escaped", "\\tmp\\escaped", "Data\\.\\x", "Data/../../escaped"}) {
        ArchiveWriter writer;
        writer.Add("Data\\fine.txt", Bytes("fine"));
        writer.Add(name, Bytes("bad"));
        WriteWholeFile("evil.dat", writer.Build());

        const ToolRun extract = Invoke(QL_PACK, {"--extract", "evil.dat", "deep/target"});
        EXPECT_EQ(extract.exitCode, 1) << name;
        EXPECT_NE(extract.err.find("evil.dat: entry \"" + name + "\""), std::string::npos) << extract.err;
        EXPECT_FALSE(fs::exists("deep/target/Data/fine.txt")) << name;
        EXPECT_FALSE(fs::exists("escaped")) << name;
    }
}

TEST_F(PackTest, ExtractDoesNotWriteThroughALinkInTheTargetFolder)
{
    fs::create_directories("target");
    fs::create_directories("elsewhere");
    fs::create_directory_symlink("../elsewhere", "target/Data");
    ArchiveWriter writer;
    writer.Add("Data\\x", Bytes("x"));
    WriteWholeFile("link.dat", writer.Build());

    const ToolRun extract = Invoke(QL_PACK, {"--extract", "link.dat", "target"});
    EXPECT_EQ(extract.exitCode, 1);
    EXPECT_NE(extract.err.find("is a link"), std::string::npos) << extract.err;
    EXPECT_TRUE(fs::is_empty("elsewhere"));
}

TEST_F(PackTest, FilesThatCannotBecomeEntriesAreRefusedByName)
{
    for (const std::string file : {"in/with blank.txt", "in/back\\slash.txt"}) {
        fs::remove_all("in");
        WriteFolder("in", {{"ok.txt", "ok"}});
        WriteText(file, "x");
        const ToolRun pack = Invoke(QL_PACK, {"in", "-o", "out.dat"});
        EXPECT_EQ(pack.exitCode, 1) << file;
        EXPECT_NE(pack.err.find(file + ": "), std::string::npos) << pack.err;
    }
}

TEST_F(PackTest, CorruptArchiveIsReportedWithItsName)
{
    WriteText("bad.dat", "0x00000040\nname\nzz\n");
    const ToolRun list = Invoke(QL_PACK, {"--list", "bad.dat"});
    EXPECT_EQ(list.exitCode, 1);
    EXPECT_EQ(list.err, "pack: bad.dat: Data base file corrupt.  Corruption detected while reading file #0\n");
}

TEST_F(PackTest, UsageErrorsExitWithTwo)
{
    fs::create_directories("in");
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {"in"}, {"in", "-o"}, {"--bogus", "in", "-o", "x.dat"}, {"--list", "a.dat", "-o", "b.dat"},
             {"--list", "--extract", "a.dat", "d"}, {"--extract", "a.dat"}, {"in", "-o", "in/self.dat"}}) {
        const ToolRun run = Invoke(QL_PACK, args);
        EXPECT_EQ(run.exitCode, 2) << ::testing::PrintToString(args);
        EXPECT_NE(run.err.find("pack --help"), std::string::npos);
    }
    const ToolRun help = Invoke(QL_PACK, {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("Usage: pack", 0), 0u);
}

} // namespace
