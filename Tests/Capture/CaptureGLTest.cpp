// The offline mode's pictures on GL over the build's basefile.dat, the videos read back through
// libavformat: frames the same on every run and for a late start as for an earlier one, a still
// the same as its frame, and chunks captured side by side joining into one capture. What needs no
// pictures (the frame plan, the sound, progress, Ctrl+C, the output) is CaptureRecorderTest's.
#include "Capture/VideoReader.h"
#include "Support/ShowFixture.h"
#include "Tools/ToolRun.h"

#include "Demo/Capture/CaptureRun.h"
#include "Platform/Gfx/GL/CreateGLDirect3D.h"

#include <stb/stb_image.h>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <sstream>

namespace {

constexpr unsigned Width = 64;
constexpr unsigned Height = 36;
constexpr unsigned Fps = 10;

} // namespace

class CaptureGLTest : public ShowFixture {
protected:
    void SetUp() override
    {
        ShowFixture::SetUp();
        std::filesystem::copy_file(QL_SHOW_ARCHIVE, directory / "basefile.dat");
    }

    // A capture at the test's small size and rate by the player itself, in a process of its own.
    // The run's exit status.
    int Capture(const std::string& file, double from, double to, int crf = 0)
    {
        const ToolRun run = Invoke(QL_PLAYER, {"--capture", file, "--from", Seconds(from), "--to", Seconds(to), "--fps",
                                               std::to_string(Fps), "--size", Size(), "--crf", std::to_string(crf),
                                               "--preset", "ultrafast"});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return run.exitCode;
    }

    // The same capture in this test's own process, as a program that captures twice would.
    int CaptureHere(const std::string& file, double from, double to)
    {
        CaptureOptions options;
        options.output = file;
        options.width = Width;
        options.height = Height;
        options.fps = Fps;
        options.from = from;
        options.to = to;
        options.crf = 0;
        options.preset = "ultrafast";
        std::ostringstream progress;
        const std::atomic<bool> interrupted{false};
        const int status = RunCapture(options, interrupted, progress, false, GLDirect3DCreator());
        EXPECT_EQ(status, 0) << progress.str();
        return status;
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
    // The scroller recolours its particles at 51 s, the end draws over its last picture. A player
    // of its own and two captures in this one process: every show starts afresh, so all agree.
    for (const auto& [from, to] : {std::tuple{51.5, 52.0}, std::tuple{121.0, 121.5}}) {
        ASSERT_EQ(Capture("first.mp4", from, to), 0);
        ASSERT_EQ(CaptureHere("here.mp4", from, to), 0);
        ASSERT_EQ(CaptureHere("again.mp4", from, to), 0);
        const DecodedVideo first = ReadVideo("first.mp4");
        ASSERT_EQ(first.pictures.size(), static_cast<size_t>(std::lround((to - from) * Fps)));
        EXPECT_EQ(ReadVideo("here.mp4").pictures, first.pictures) << "in this process from " << from;
        EXPECT_EQ(ReadVideo("again.mp4").pictures, first.pictures) << "again in this process from " << from;
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
