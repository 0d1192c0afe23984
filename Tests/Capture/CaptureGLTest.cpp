// The offline mode on GL over the build's basefile.dat: the video read back through libavformat
// (its size, rate, tags, frame count, its index before its pictures and the soundtrack under it
// where the show has it), frames the same on every run and for a late start as for an earlier one,
// a still the same as its frame, Ctrl+C leaving a playable file, and bad requests or failures
// leaving no file behind.
#include "Capture/VideoReader.h"
#include "Support/ShowFixture.h"
#include "Tools/ToolRun.h"

#include "Demo/Capture/Soundtrack.h"

#include <stb/stb_image.h>

#include <algorithm>
#include <csignal>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr unsigned Width = 64;
constexpr unsigned Height = 36;
constexpr unsigned Fps = 10;

// Where the sound best lines up with the reference, in samples (positive: the sound is late).
int BestLag(const std::vector<float>& sound, const std::vector<float>& reference, int reach)
{
    int best = 0;
    double bestScore = -1e300;
    const int length = static_cast<int>(std::min(sound.size(), reference.size()) / 2) - reach;
    for (int lag = -reach; lag <= reach; ++lag) {
        double score = 0.0;
        for (int i = reach; i < length; i += 2)
            score += double(sound[2 * (i + lag)]) * reference[2 * i];
        if (score > bestScore) {
            bestScore = score;
            best = lag;
        }
    }
    return best;
}

// The types of an MP4 file's top-level boxes, in file order.
std::vector<std::string> TopLevelBoxes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::vector<std::string> boxes;
    unsigned char header[16];
    while (file.read(reinterpret_cast<char*>(header), 8)) {
        uint64_t size = (uint64_t(header[0]) << 24) | (header[1] << 16) | (header[2] << 8) | header[3];
        boxes.emplace_back(reinterpret_cast<char*>(header + 4), 4);
        if (size == 1 && file.read(reinterpret_cast<char*>(header + 8), 8)) {
            size = 0;
            for (int i = 8; i < 16; ++i)
                size = (size << 8) | header[i];
            file.seekg(std::streamoff(size) - 16, std::ios::cur);
        } else if (size >= 8) {
            file.seekg(std::streamoff(size) - 8, std::ios::cur);
        } else {
            break; // 0: the box runs to the end of the file
        }
    }
    return boxes;
}

} // namespace

class CaptureGLTest : public ShowFixture {
protected:
    void SetUp() override
    {
        ShowFixture::SetUp();
        std::filesystem::copy_file(QL_SHOW_ARCHIVE, directory / "basefile.dat");
    }

    // A capture at the test's small size and rate by the player itself, each in a process of its
    // own as a capture is: the show's process-wide state (the shared random generator, the
    // recolouring) starts afresh. The run's exit status.
    int Capture(const std::string& file, double from, double to, int crf = 0)
    {
        const ToolRun run = Invoke(QL_PLAYER, {"--capture", file, "--from", Seconds(from), "--to", Seconds(to), "--fps",
                                               std::to_string(Fps), "--size", Size(), "--crf", std::to_string(crf),
                                               "--preset", "ultrafast"});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return run.exitCode;
    }

    int Stills(const std::string& times)
    {
        const ToolRun run = Invoke(QL_PLAYER, {"--stills", times, "--fps", std::to_string(Fps), "--size", Size()});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return run.exitCode;
    }

    static std::string Seconds(double seconds)
    {
        std::ostringstream text;
        text << seconds;
        return text.str();
    }

    static std::string Size() { return std::to_string(Width) + "x" + std::to_string(Height); }
};

TEST_F(CaptureGLTest, TheVideoHoldsEveryFrameTaggedBt709WithTheSoundtrackWhereTheShowHearsIt)
{
    ASSERT_EQ(Capture("part.mp4", 14.0, 16.0, 18), 0);
    const DecodedVideo video = ReadVideo("part.mp4");
    EXPECT_EQ(video.width, int(Width));
    EXPECT_EQ(video.height, int(Height));
    EXPECT_EQ(video.pictures.size(), 20u) << "(16 - 14) x 10 frames";
    EXPECT_EQ(video.fpsNumerator / video.fpsDenominator, int(Fps));
    EXPECT_TRUE(video.yuv420);
    EXPECT_TRUE(video.bt709);
    EXPECT_NEAR(video.seconds, 2.0, 0.05);
    // The index comes before the pictures, so that playing can start while the file downloads.
    const std::vector<std::string> boxes = TopLevelBoxes("part.mp4");
    const auto index = std::find(boxes.begin(), boxes.end(), "moov"), data = std::find(boxes.begin(), boxes.end(), "mdat");
    ASSERT_NE(index, boxes.end());
    ASSERT_NE(data, boxes.end());
    EXPECT_LT(index, data);
    ASSERT_EQ(video.soundStreams, 1);
    EXPECT_NEAR(double(video.sound.size()) / 2 / video.soundRate, 2.0, 0.05);

    // The crash of second 15 is heard at video second 1: the sound is the music from second 14 on.
    const FileSys files;
    Soundtrack music(files, 14.0);
    std::vector<float> reference(video.sound.size());
    music.Read(reference.data(), reference.size() / 2);
    EXPECT_LE(std::abs(BestLag(video.sound, reference, 512)), 2);
    EXPECT_TRUE(std::filesystem::exists("part.mp4"));
    for (const auto& entry : std::filesystem::directory_iterator("."))
        EXPECT_EQ(entry.path().string().find(".partial"), std::string::npos) << entry.path();
}

// The end draws over its last picture, the scroller recolours its particles at 51 s and the box
// scene hands over to the fourth part: a late start steps and draws what came before to match.
TEST_F(CaptureGLTest, ALateStartGivesTheFramesOfAnEarlierStartBitForBit)
{
    for (const auto& [from, late, to] :
         {std::tuple{119.0, 121.0, 122.0}, std::tuple{50.5, 51.5, 52.0}, std::tuple{100.5, 101.5, 102.0}}) {
        ASSERT_EQ(Capture("early.mp4", from, to), 0);
        ASSERT_EQ(Capture("late.mp4", late, to), 0);
        const DecodedVideo early = ReadVideo("early.mp4");
        const DecodedVideo lateVideo = ReadVideo("late.mp4");
        const size_t skipped = static_cast<size_t>(std::lround((late - from) * Fps));
        ASSERT_EQ(early.pictures.size(), skipped + lateVideo.pictures.size());
        for (size_t i = 0; i < lateVideo.pictures.size(); ++i)
            EXPECT_EQ(lateVideo.pictures[i], early.pictures[skipped + i]) << "frame " << i << " from " << late;
    }
}

TEST_F(CaptureGLTest, TwoRunsGiveTheSameFramesBitForBitAndAStillIsItsFrame)
{
    // The scroller recolours its particles at 51 s, the end draws over its last picture.
    for (const auto& [from, to] : {std::tuple{51.5, 52.0}, std::tuple{121.0, 121.5}}) {
        ASSERT_EQ(Capture("first.mp4", from, to), 0);
        ASSERT_EQ(Capture("again.mp4", from, to), 0);
        const DecodedVideo first = ReadVideo("first.mp4");
        ASSERT_EQ(first.pictures.size(), static_cast<size_t>(std::lround((to - from) * Fps)));
        EXPECT_EQ(ReadVideo("again.mp4").pictures, first.pictures) << "two runs from " << from;
    }

    // The still at 121.5 s is the frame at 121.5 s (in the lossless video, before 4:2:0 the same).
    ASSERT_EQ(Stills("121.5"), 0);
    int width = 0, height = 0, channels = 0;
    unsigned char* rgba = stbi_load("show-121.5.png", &width, &height, &channels, 4);
    ASSERT_NE(rgba, nullptr);
    std::vector<uint8_t> bgra(rgba, rgba + size_t(width) * height * 4);
    stbi_image_free(rgba);
    for (size_t i = 0; i < bgra.size(); i += 4)
        std::swap(bgra[i], bgra[i + 2]);
    ASSERT_EQ(Capture("end.mp4", 121.0, 122.0), 0);
    EXPECT_EQ(ConvertedPlanes(bgra.data(), width, height), ReadVideo("end.mp4").pictures[5]);
}

TEST_F(CaptureGLTest, CtrlCFinishesAPlayableVideoAndFailuresLeaveNoFileBehind)
{
    // The player itself, interrupted once its first progress line is out.
    int errors[2];
    ASSERT_EQ(pipe(errors), 0);
    const pid_t child = fork();
    if (child == 0) {
        dup2(errors[1], STDERR_FILENO);
        close(errors[0]);
        execl(QL_PLAYER, QL_PLAYER, "--capture", "cut.mp4", "--size", "64x36", "--fps", "10", "--from", "40",
              "--preset", "ultrafast", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(errors[1]);
    std::string said;
    char buffer[256];
    for (ssize_t got; said.find("frames/s") == std::string::npos && (got = read(errors[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, static_cast<size_t>(got));
    kill(child, SIGINT);
    for (ssize_t got; (got = read(errors[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, static_cast<size_t>(got));
    close(errors[0]);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << said;
    EXPECT_EQ(WEXITSTATUS(status), 130) << said;
    EXPECT_NE(said.find("interrupted"), std::string::npos) << said;
    const DecodedVideo cut = ReadVideo("cut.mp4");
    EXPECT_GT(cut.pictures.size(), 0u);
    EXPECT_LT(cut.pictures.size(), 950u);

    // A bad request and a failing show: exit 2 and 1, an earlier file of that name untouched.
    WriteText("kept.mp4", "an earlier video");
    const ToolRun refused = Invoke(QL_PLAYER, {"--capture", "kept.mp4", "--fps", "500"});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.err, "quiet-lantern: --fps 500: expected a whole number from 1 to 240\n");
    // The working folder's archive comes first, so a broken one fails the show.
    WriteText("basefile.dat", "not an archive");
    const ToolRun failed = Invoke(QL_PLAYER, {"--capture", "kept.mp4", "--size", "64x36"});
    EXPECT_EQ(failed.exitCode, 1) << failed.err;
    EXPECT_EQ(ReadText("kept.mp4"), "an earlier video");
    for (const auto& entry : std::filesystem::directory_iterator("."))
        EXPECT_EQ(entry.path().string().find(".partial"), std::string::npos) << entry.path();
}

TEST_F(CaptureGLTest, ChunksCapturedSideBySideJoinIntoTheFramesOfOneCaptureWithTheSoundOnce)
{
    setenv("QL_BUILD_DIR", QL_BUILD_DIR, 1);
    const ToolRun joined = Invoke(std::string(QL_SOURCE_DIR) + "scripts/capture-parallel",
                                  {"joined.mp4", "--chunks", "2", "--fps", "10", "--size", "64x36", "--from", "40",
                                   "--to", "41.6", "--crf", "0", "--preset", "ultrafast"});
    ASSERT_EQ(joined.exitCode, 0) << joined.err;
    ASSERT_EQ(Capture("single.mp4", 40.0, 41.6), 0);
    const DecodedVideo parts = ReadVideo("joined.mp4");
    const DecodedVideo whole = ReadVideo("single.mp4");
    ASSERT_EQ(whole.pictures.size(), 16u);
    EXPECT_EQ(parts.pictures, whole.pictures);
    EXPECT_EQ(parts.soundStreams, 1);
    EXPECT_NEAR(double(parts.sound.size()) / 2 / parts.soundRate, 1.6, 0.05);
}
