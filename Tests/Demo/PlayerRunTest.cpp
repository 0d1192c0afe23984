// Runs the test show as a separate process, the way a user runs the player, in a folder with an
// archive made for it: a timeline with the test scene and a soundtrack of two tones.
#include "Audio/OggToneEncoder.h"
#include "Audio/ToneAnalysis.h"
#include "Support/ArchiveFixture.h"
#include "Support/ShowFixture.h"

#include <sys/wait.h>

#include <array>
#include <cstring>
#include <cstdio>
#include <fstream>

namespace {

struct ProcessResult {
    int exitCode = -1;
    std::string output;
};

ProcessResult RunProgram(const std::string& command)
{
    ProcessResult result;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return result;
    std::array<char, 4096> buffer;
    while (size_t n = fread(buffer.data(), 1, buffer.size(), pipe))
        result.output.append(buffer.data(), n);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::vector<float> ReadFloats(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<float> samples(bytes.size() / sizeof(float));
    std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(float));
    return samples;
}

class PlayerRunTest : public ArchiveFixture {
protected:
    void SetUp() override
    {
        ArchiveFixture::SetUp();
        ArchiveWriter writer;
        writer.Add("Data\\events\\Scenes.txt", Bytes("0 Test\n"));
        writer.Add("OShaders\\global.fxo", CompiledGlobalEffect());
        // 136 s of 440 Hz left and 660 Hz right, so that the end of the show is inside the music.
        writer.Add("Data\\tindrevik_invtro.ogg", EncodeToneOgg(44100, {440.0, 660.0}, 136.0, 0.5f));
        writer.Add("Data\\noise.bin", std::vector<unsigned char>(2097152, 0x80));
        WriteArchive(writer.Build());
    }

    std::string Command(const std::string& arguments, const std::string& environment = "",
                        const std::string& program = QL_TEST_SHOW) const
    {
        // Under the sanitizers the show runs with the fast unwinder and without the leak check: the
        // GL driver's allocations make full unwinding far too slow for a real run, and its leaks
        // come from libraries unloaded before the check. The in-process tests check leaks.
        return "SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=" + (directory / "audio.raw").string() +
               " ASAN_OPTIONS=detect_leaks=0:fast_unwind_on_malloc=1 " + environment + " timeout -k 10 200 " +
               program + " " + arguments;
    }
};

} // namespace

TEST_F(PlayerRunTest, PlaysFromTheSeekPointToTheEndOfTheShow)
{
    const ProcessResult run = RunProgram(Command("--nosetup --seek 132"));
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("window title: Quiet Lantern"), std::string::npos) << run.output;
    const size_t framesAt = run.output.find("frames: ");
    ASSERT_NE(framesAt, std::string::npos) << run.output;
    EXPECT_GT(std::atoi(run.output.c_str() + framesAt + 8), 5) << "frames were presented";
    const size_t lastAt = run.output.find("last time: ");
    ASSERT_NE(lastAt, std::string::npos);
    const double lastTime = std::atof(run.output.c_str() + lastAt + 11);
    EXPECT_GE(lastTime, 132.0);
    // The clock is checked before each frame and read again inside it, so the last frame may fall
    // just past the end, but no later one is drawn.
    EXPECT_GE(lastTime, 134.5);
    EXPECT_LT(lastTime, 136.0);

    // SDL's disk driver wrote what would have been heard: the two tones, from the seek point on.
    const std::vector<float> heard = ReadFloats((directory / "audio.raw").string());
    ASSERT_GT(heard.size(), 2u * 44100) << "at least a second of sound";
    const ToneMeasure left = MeasureTone(heard, 2, 0, 44100, 0.1f);
    const ToneMeasure right = MeasureTone(heard, 2, 1, 44100, 0.1f);
    EXPECT_NEAR(left.frequency, 440.0, 5.0);
    EXPECT_NEAR(right.frequency, 660.0, 5.0);
}

TEST_F(PlayerRunTest, EscapeEndsTheShowEarly)
{
    const ProcessResult run = RunProgram(Command("--nosetup", "QL_TEST_ESCAPE_AFTER=3"));
    EXPECT_EQ(run.exitCode, 0) << run.output;
    const size_t framesAt = run.output.find("frames: ");
    ASSERT_NE(framesAt, std::string::npos) << run.output;
    EXPECT_EQ(std::atoi(run.output.c_str() + framesAt + 8), 3);
    const size_t lastAt = run.output.find("last time: ");
    EXPECT_LT(std::atof(run.output.c_str() + lastAt + 11), 10.0);
}

TEST_F(PlayerRunTest, MissingArchiveIsReportedOnStandardError)
{
    std::filesystem::remove(FileSys::ArchivePath);
    const ProcessResult run = RunProgram(Command("--nosetup"));
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.output.find("Failure: Could not open \"basefile.dat\" when reading database"), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("Looked in the working folder " + directory.string()), std::string::npos) << run.output;
}

// A copy of the program beside its archive, as a release unpacked on a machine without GTK: its
// dialog module (lib/ beside it) is missing.
TEST_F(PlayerRunTest, ACopyBesideItsArchivePlaysFromAnyFolderAndWithoutGtkWithTheDefaults)
{
    // The program finds its folder through its own file, so it must be a copy (or a hard link),
    // not a symbolic link back to the build folder.
    const std::filesystem::path release = directory / "release", elsewhere = directory / "elsewhere";
    std::filesystem::create_directories(release);
    std::filesystem::create_directories(elsewhere);
    std::filesystem::rename(FileSys::ArchivePath, release / FileSys::ArchivePath);
    const std::filesystem::path program = release / "show";
    std::error_code linked;
    std::filesystem::create_hard_link(QL_TEST_SHOW, program, linked);
    if (linked)
        std::filesystem::copy_file(QL_TEST_SHOW, program);

    std::filesystem::current_path(elsewhere);
    const ProcessResult run = RunProgram(Command("--seek 134", "", program.string()));
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("frames: "), std::string::npos) << run.output;
    const std::string notice = "the setup dialog needs GTK 3, which could not be loaded (";
    const size_t said = run.output.find(notice);
    ASSERT_NE(said, std::string::npos) << run.output;
    EXPECT_EQ(run.output.find(notice, said + 1), std::string::npos) << "said once";
    EXPECT_NE(run.output.find("libquiet-lantern-gtk-dialog.so", said), std::string::npos) << "names what is missing";
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere)) << "nothing is written into the working folder";
}
