#include "Support/ArchiveFixture.h"

#include "Framework/FileSys/ArchiveLocation.h"
#include "Framework/FileSys/AtomicFile.h"
#include "Support/SpecialFiles.h"

#include <zlib.h>

#include <cstring>

namespace {

std::string MessageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const FrameworkEx& e) {
        return e.message;
    }
    return "(no FrameworkEx)";
}

std::vector<unsigned char> Deflate(const std::string& text)
{
    uLongf size = compressBound(text.size());
    std::vector<unsigned char> packed(size);
    compress(packed.data(), &size, reinterpret_cast<const Bytef*>(text.data()), text.size());
    packed.resize(size);
    return packed;
}

std::string ReadText(const FileSys& fs, const std::string& name)
{
    std::string text(fs.GetSize(name), '\0');
    EXPECT_EQ(fs.ReadFile(name, text.data()), text.size());
    return text;
}

} // namespace

using FileSysTest = ArchiveFixture;

TEST_F(FileSysTest, ServesEntriesByExactName)
{
    ArchiveWriter writer;
    writer.Add("Data\\events\\Scenes.txt", Bytes("0 Intro\n"));
    writer.Add("Data\\b.bin", Bytes("second"));
    Mount(writer);

    EXPECT_EQ(ReadText(*fileSys, "Data\\events\\Scenes.txt"), "0 Intro\n");
    EXPECT_EQ(ReadText(*fileSys, "Data\\b.bin"), "second");
    EXPECT_EQ(fileSys->GetSize("data\\b.bin"), 0u) << "names are case-sensitive";
    EXPECT_EQ(fileSys->GetSize("Data/b.bin"), 0u) << "separators are not translated";
    EXPECT_EQ(fileSys->GetSize(" Data\\b.bin"), 0u);

    char untouched = 'x';
    EXPECT_EQ(fileSys->ReadFile("missing", &untouched), 0u);
    EXPECT_EQ(untouched, 'x');
}

TEST_F(FileSysTest, SecondInstanceIsRefused)
{
    Mount(ArchiveWriter{});
    EXPECT_EQ(MessageOf([] { FileSys again; }), "FileSys is a singleton!");
}

TEST_F(FileSysTest, DirectoryEndingAtTheHeaderHasNoEntries)
{
    WriteArchive(Bytes("0x0000000b\n"));
    fileSys = std::make_unique<FileSys>();
    EXPECT_TRUE(fileSys->Directory().empty());
    EXPECT_EQ(fileSys->GetSize("anything"), 0u);
}

TEST_F(FileSysTest, FirstOfTwoEntriesWithTheSameNameWins)
{
    const auto first = Deflate("first"), second = Deflate("second!");
    std::string directory = "dup\n%08x\n%08x\n00000005\ndup\n%08x\n%08x\n00000007\n";
    const size_t end = 11 + 2 * (4 + 27);
    char text[256];
    std::snprintf(text, sizeof text, directory.c_str(), unsigned(end), unsigned(first.size()),
                  unsigned(end + first.size()), unsigned(second.size()));
    char header[16];
    std::snprintf(header, sizeof header, "0x%08x\n", unsigned(end));
    auto archive = Bytes(std::string(header) + text);
    archive.insert(archive.end(), first.begin(), first.end());
    archive.insert(archive.end(), second.begin(), second.end());
    WriteArchive(archive);
    fileSys = std::make_unique<FileSys>();

    EXPECT_EQ(fileSys->Directory().size(), 1u);
    EXPECT_EQ(ReadText(*fileSys, "dup"), "first");
}

TEST_F(FileSysTest, ReaderAcceptsUpperCaseDigitsAndOtherWhiteSpace)
{
    const auto packed = Deflate("hello");
    char archive[128];
    const int end = 11 + 40;
    std::snprintf(archive, sizeof archive, "0x%08X\n  name\r\n %X \t %X\n00000005  \n", end, end, unsigned(packed.size()));
    auto bytes = Bytes(archive);
    bytes.resize(end, ' ');
    bytes.insert(bytes.end(), packed.begin(), packed.end());
    WriteArchive(bytes);
    fileSys = std::make_unique<FileSys>();
    EXPECT_EQ(ReadText(*fileSys, "name"), "hello");
}

TEST_F(FileSysTest, EmptyEntryLooksLikeAMissingOne)
{
    ArchiveWriter writer;
    writer.Add("empty", {});
    Mount(writer);
    EXPECT_EQ(fileSys->GetSize("empty"), 0u);
    EXPECT_FALSE(fileSys->ReadAll("empty").has_value());
}

TEST_F(FileSysTest, MissingArchiveIsReportedWithItsNameAndWhereItWasLookedFor)
{
    const std::string message = MessageOf([] { FileSys fs; });
    EXPECT_EQ(message.rfind("Failure: Could not open \"basefile.dat\" when reading database\n", 0), 0u) << message;
    EXPECT_NE(message.find("Looked in the working folder " + directory.string()), std::string::npos) << message;
    EXPECT_NE(message.find("beside the program in " + ProgramFolder().string()), std::string::npos) << message;
}

TEST_F(FileSysTest, ArchiveIsTakenFromTheWorkingFolderElseFromBesideTheProgram)
{
    const std::filesystem::path programFolder = directory / "program";
    std::filesystem::create_directory(programFolder);
    const std::string beside = (programFolder / "basefile.dat").string();
    WriteWholeFile(beside, Bytes("beside"));
    EXPECT_EQ(LocateArchive("basefile.dat", programFolder), beside);
    EXPECT_EQ(MessageOf([&] { LocateArchive("other.dat", programFolder); }),
              "Failure: Could not open \"other.dat\" when reading database\nLooked in the working folder " +
                  directory.string() + " and beside the program in " + programFolder.string() + "\n");

    WriteArchive(Bytes("here"));
    EXPECT_EQ(LocateArchive("basefile.dat", programFolder), "basefile.dat");
    // A folder of that name is no archive.
    std::filesystem::remove(FileSys::ArchivePath);
    std::filesystem::create_directory(FileSys::ArchivePath);
    EXPECT_EQ(LocateArchive("basefile.dat", programFolder), beside);
}

TEST_F(FileSysTest, ArchiveRemovedBeforeAReadIsReportedWithTheEntry)
{
    ArchiveWriter writer;
    writer.Add("Data\\x", Bytes("x"));
    Mount(writer);
    std::filesystem::remove(FileSys::ArchivePath);
    char buffer[1];
    EXPECT_EQ(MessageOf([&] { fileSys->ReadFile("Data\\x", buffer); }),
              "Failure: Could not open \"basefile.dat\" when trying to read file Data\\x");
}

TEST_F(FileSysTest, CorruptDirectoryNamesTheEntryNumber)
{
    // The third record has only two numbers.
    WriteArchive(Bytes("0x00000040\na\n0\n0\n0\nb\n0\n0\n0\nc\n0\n0\n"));
    EXPECT_EQ(MessageOf([] { FileSys fs; }), "Data base file corrupt.  Corruption detected while reading file #2");
}

TEST_F(FileSysTest, DuplicateBeforeACorruptEntryIsNotCounted)
{
    WriteArchive(Bytes("0x00000040\na\n0\n0\n0\na\n0\n0\n0\nc\nzz\n"));
    EXPECT_EQ(MessageOf([] { FileSys fs; }), "Data base file corrupt.  Corruption detected while reading file #1");
}

TEST_F(FileSysTest, HeaderThatIsNotADirectorySizeIsRefused)
{
    WriteArchive(Bytes("PK\x03\x04 not an archive"));
    EXPECT_EQ(MessageOf([] { FileSys fs; }),
              "Data base file corrupt.  \"basefile.dat\" does not start with its directory size");
}

TEST_F(FileSysTest, EntryReachingBeyondTheArchiveIsRefusedByName)
{
    ArchiveWriter writer;
    writer.AddPacked("Data\\far.bin", Deflate("abc"), 3);
    auto archive = writer.Build();
    archive.pop_back(); // the last byte of the only stream is gone
    WriteArchive(archive);
    EXPECT_EQ(MessageOf([] { FileSys fs; }),
              "Data base file corrupt.  Entry \"Data\\far.bin\" lies beyond the end of the archive");
}

TEST_F(FileSysTest, HugeUnpackedSizeIsRefusedBeforeAnyoneAllocatesIt)
{
    ArchiveWriter writer;
    writer.AddPacked("Data\\huge.bin", Deflate("abc"), 0xFFFFFFF0u);
    WriteArchive(writer.Build());
    EXPECT_EQ(MessageOf([] { FileSys fs; }),
              "Data base file corrupt.  Entry \"Data\\huge.bin\" claims 4294967280 bytes, more than the 268435456 an "
              "entry may hold");
}

TEST_F(FileSysTest, StreamsThatDoNotInflateToTheClaimedSizeFail)
{
    ArchiveWriter writer;
    writer.AddPacked("longer", Deflate("0123456789"), 4);  // would overflow the caller's buffer
    writer.AddPacked("shorter", Deflate("0123"), 10);      // would leave part of it unwritten
    auto broken = Deflate("0123456789");
    broken.resize(broken.size() - 3);
    writer.AddPacked("truncated", broken, 10);
    writer.AddPacked("garbage", Bytes("not zlib at all"), 10);
    Mount(writer);

    for (const char* name : {"longer", "shorter", "truncated", "garbage"}) {
        std::vector<unsigned char> buffer(fileSys->GetSize(name) + 16, 0xAB);
        EXPECT_EQ(MessageOf([&] { fileSys->ReadFile(name, buffer.data()); }),
                  "[FileSys::ReadFile]: Error uncompressing file")
            << name;
        for (size_t i = fileSys->GetSize(name); i < buffer.size(); ++i)
            ASSERT_EQ(buffer[i], 0xAB) << name << ": wrote past the claimed size at " << i;
    }
}

TEST_F(FileSysTest, ArchiveWriterIsDeterministicAndRefusesBadNames)
{
    ArchiveWriter a, b;
    for (ArchiveWriter* writer : {&a, &b}) {
        writer->Add("x", Bytes("same"));
        writer->Add("y", Bytes("bytes"));
    }
    EXPECT_EQ(a.Build(), b.Build());
    const auto archive = a.Build();
    EXPECT_EQ(std::string(archive.begin(), archive.begin() + 11 + 2 + 9), "0x00000045\nx\n00000045\n");
    EXPECT_EQ(MessageOf([&] { a.Add("two words", {}); }),
              "[ArchiveWriter::Add]: Entry name \"two words\" is not a single word");
}

TEST_F(FileSysTest, AnAtomicFileGivenUpOrNotPutInPlaceLeavesTheEarlierFile)
{
    WriteWholeFile("out.bin", Bytes("earlier"));
    {
        AtomicFile file("out.bin");
        file.Write("half", 4); // an exception on the way ends the writing here
    }
    EXPECT_EQ(ReadWholeFile("out.bin"), Bytes("earlier"));

    std::filesystem::create_directory("folder");
    AtomicFile file("folder");
    file.Write("bytes", 5);
    try {
        file.Commit();
        ADD_FAILURE() << "a file was put in place of a folder";
    } catch (const FrameworkEx& e) {
        EXPECT_EQ(e.message, "folder: cannot put the file in place: Is a directory");
    }
    EXPECT_TRUE(std::filesystem::is_directory("folder"));
    for (const auto& entry : std::filesystem::directory_iterator("."))
        EXPECT_EQ(entry.path().filename().string().find(".partial-"), std::string::npos) << entry.path();
}

TEST_F(FileSysTest, AnAtomicFileFollowsLinksAndWritesDevicesAndPipesInPlace)
{
    namespace fs = std::filesystem;
    auto partialsIn = [](const fs::path& folder) {
        size_t count = 0;
        for (const auto& entry : fs::directory_iterator(folder))
            count += entry.path().filename().string().find(".partial-") != std::string::npos;
        return count;
    };
    fs::create_directories("links");
    fs::create_directories("files");
    WriteWholeFile("files/real.bin", Bytes("earlier"));
    fs::create_symlink("../files/real.bin", "links/out.bin");
    fs::create_symlink("out.bin", "links/chain.bin");
    fs::create_symlink("../files/new.bin", "links/dangling.bin");
    for (const char* name : {"links/out.bin", "links/chain.bin", "links/dangling.bin"}) {
        AtomicFile file(name);
        EXPECT_EQ(fs::path(file.TemporaryPath()).parent_path(), "links/../files") << name;
        file.Write(name, std::strlen(name));
        file.Commit();
        EXPECT_TRUE(fs::is_symlink(name)) << "the link stays a link";
        EXPECT_EQ(ReadWholeFile(name), Bytes(name));
    }
    EXPECT_EQ(ReadWholeFile("files/real.bin"), Bytes("links/chain.bin"));
    EXPECT_EQ(ReadWholeFile("files/new.bin"), Bytes("links/dangling.bin"));
    EXPECT_EQ(partialsIn("links") + partialsIn("files"), 0u);

    const std::string piped = ReadPipeWhile("pipe", [] {
        AtomicFile file("pipe");
        file.Write("through", 7);
        file.Commit();
    });
    EXPECT_EQ(piped, "through");
    EXPECT_EQ(SpecialFileKind("pipe"), "a pipe");
    EXPECT_EQ(SpecialFileKind("links/out.bin"), "");

    if (MakeFullDevice("full")) {
        fs::create_symlink("full", "to-full");
        for (const char* name : {"full", "to-full"}) {
            EXPECT_EQ(MessageOf([&] {
                          AtomicFile file(name);
                          file.Write("bytes", 5);
                          file.Commit();
                      }),
                      std::string(name) + ": could not write the whole file: No space left on device");
        }
        EXPECT_EQ(SpecialFileKind("to-full"), "a character device") << "the device node is still there";
    }
    EXPECT_EQ(partialsIn("."), 0u);
}

TEST_F(FileSysTest, EntriesOfAnotherArchiveAreCopiedAsTheyAreButTheOnesLeftOut)
{
    ArchiveWriter source;
    source.Add("Data\\kept.txt", Bytes("kept"));
    source.Add("Data\\dropped.txt", Bytes("dropped"));
    source.Add("Data\\replaced.txt", Bytes("old"));
    WriteWholeFile("source.dat", source.Build());

    ArchiveWriter writer;
    writer.Add("Data\\replaced.txt", Bytes("new"));
    writer.AddEntriesOf("source.dat", {"Data\\dropped.txt", "Data\\replaced.txt"});
    Mount(writer);

    EXPECT_EQ(ReadText(*fileSys, "Data\\kept.txt"), "kept");
    EXPECT_EQ(ReadText(*fileSys, "Data\\replaced.txt"), "new");
    EXPECT_EQ(fileSys->GetSize("Data\\dropped.txt"), 0u);
    EXPECT_EQ(fileSys->Directory().size(), 2u);
    EXPECT_EQ(fileSys->Directory().at("Data\\kept.txt").packedSize,
              FileSys::ReadDirectory("source.dat").at("Data\\kept.txt").packedSize)
        << "the compressed bytes are copied, not made again";
    EXPECT_NE(MessageOf([&] { ArchiveWriter{}.AddEntriesOf("missing.dat"); }).find("missing.dat"), std::string::npos);
}

TEST_F(FileSysTest, ALooseFolderWinsOverTheArchiveForWhatItHoldsAndIsReadAfreshEachTime)
{
    ArchiveWriter writer;
    writer.Add("Data\\sync_A.track", Bytes("packed A"));
    writer.Add("Data\\anim\\cam.translateX", Bytes("packed curve"));
    Mount(writer);
    std::filesystem::create_directories("loose/Data/anim");
    WriteWholeFile("loose/Data/sync_A.track", Bytes("loose A"));
    WriteWholeFile("loose/Data/new.xml", Bytes("<scene/>"));
    WriteWholeFile("loose/secret", Bytes("outside"));
    fileSys->SetLooseFolder("loose");

    {
        FileSys::ReadLog read(*fileSys);
        EXPECT_EQ(ReadText(*fileSys, "Data\\sync_A.track"), "loose A");
        EXPECT_EQ(ReadText(*fileSys, "Data\\anim\\cam.translateX"), "packed curve") << "the rest comes from the archive";
        EXPECT_EQ(fileSys->ReadAll("Data\\new.xml"), Bytes("<scene/>")) << "a file the archive lacks";
        EXPECT_FALSE(fileSys->ReadAll("Data\\missing"));
        EXPECT_EQ(read.names, (std::vector<std::string>{"Data\\sync_A.track", "Data\\anim\\cam.translateX",
                                                        "Data\\new.xml", "Data\\missing"}));
    }
    WriteWholeFile("loose/Data/sync_A.track", Bytes("saved again"));
    EXPECT_EQ(fileSys->ReadAll("Data\\sync_A.track"), Bytes("saved again"));

    // Nothing outside the folder, and no name the archive could not hold.
    for (const char* name : {"Data\\..\\secret", "Data/sync_A.track", "Data\\\\sync_A.track", ".\\secret"})
        EXPECT_EQ(fileSys->LoosePath(name), std::nullopt) << name;
    EXPECT_EQ(FileSys::EntryNameOf("Data/anim/cam.translateX"), "Data\\anim\\cam.translateX");

    // A file that grows between GetSize and ReadFile cannot overrun the caller's buffer.
    std::vector<unsigned char> buffer(fileSys->GetSize("Data\\sync_A.track"));
    WriteWholeFile("loose/Data/sync_A.track", Bytes("saved again, and longer"));
    EXPECT_EQ(MessageOf([&] { fileSys->ReadFile("Data\\sync_A.track", buffer.data()); }),
              "[FileSys::ReadFile]: \"Data\\sync_A.track\" changed while it was being read");

    fileSys->SetLooseFolder("");
    EXPECT_EQ(ReadText(*fileSys, "Data\\sync_A.track"), "packed A") << "without the folder, only the archive";
}
