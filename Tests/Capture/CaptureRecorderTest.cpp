// The offline mode on the Recorder over the build's basefile.dat, read back through the device as
// on GL: which frames a late start draws and keeps, the video's frames, tags and the soundtrack
// under them, progress, Ctrl+C, and an output that is whole or not there (a link followed, a pipe
// or device refused). What needs real pictures stays in CaptureGLTest.
#include "Capture/VideoReader.h"
#include "Support/ShowFixture.h"
#include "Support/SpecialFiles.h"
#include "Tools/ToolRun.h"

#include "Demo/Capture/CaptureRun.h"
#include "Demo/Capture/Soundtrack.h"
#include "Demo/Scenes/ScrollerScene.h"
#include "Framework/FrameworkEx.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <filesystem>
#include <sstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

// Where the sound best lines up with the reference, in samples (positive: the sound is late).
int BestLag(const std::vector<float>& sound, const std::vector<float>& reference, int reach)
{
    int best = 0;
    double bestError = INFINITY;
    const size_t frames = std::min(sound.size(), reference.size()) / 2;
    for (int lag = -reach; lag <= reach; ++lag) {
        double error = 0.0;
        for (size_t i = size_t(reach); i + size_t(reach) < frames; ++i) {
            const double difference = sound[2 * (i + size_t(lag))] - reference[2 * i];
            error += difference * difference;
        }
        if (error < bestError) {
            bestError = error;
            best = lag;
        }
    }
    return best;
}

// A stream that sets a flag once something is written to it, as Ctrl+C would at that moment.
class InterruptingBuffer : public std::stringbuf {
public:
    explicit InterruptingBuffer(std::atomic<bool>& flag) : flag(flag) {}

protected:
    int sync() override
    {
        flag = true;
        return std::stringbuf::sync();
    }

private:
    std::atomic<bool>& flag;
};

size_t PartialFilesIn(const fs::path& folder)
{
    size_t count = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        count += entry.path().filename().string().find(".partial") != std::string::npos;
    return count;
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

class CaptureRecorderTest : public ShowFixture {
protected:
    void SetUp() override
    {
        ShowFixture::SetUp();
        fs::copy_file(QL_SHOW_ARCHIVE, directory / "basefile.dat");
        recorder->Config().keepCalls = false;
    }

    // A capture at 64x36 and 10 frames a second on the Recorder, as a run of its own; its status.
    int Capture(const std::string& file, double from, double to, std::ostream& progress,
                const std::atomic<bool>& interrupted = notInterrupted, bool terminal = false)
    {
        CaptureOptions options;
        options.output = file;
        options.width = 64;
        options.height = 36;
        options.fps = 10;
        options.from = from;
        options.to = to;
        options.preset = "ultrafast";
        return RunCapture(options, interrupted, progress, terminal, RecorderDirect3DCreator(recorder));
    }

    int64_t Count(Op op) const { return static_cast<int64_t>(recorder->Count(op)); }

    static inline const std::atomic<bool> notInterrupted{false};
};

TEST_F(CaptureRecorderTest, ALateStartDrawsOnlyWhatItsFirstPictureDependsOnAndKeepsItsRange)
{
    // A part scene draws afresh: its frames from 16 s on are stepped undrawn, then 16 to 16.5 s
    // drawn and kept.
    std::ostringstream progress;
    ASSERT_EQ(Capture("part.mp4", 16.0, 16.5, progress), 0);
    EXPECT_EQ(Count(Op::BeginScene), 5);
    EXPECT_EQ(Count(Op::ReadRenderTarget), 5);
    EXPECT_EQ(ReadVideo("part.mp4").pictures.size(), 5u);
    EXPECT_NE(progress.str().find("capture: 5 of 5 frames (100.0%)"), std::string::npos) << progress.str();

    // The intro draws over its last picture: every frame from its start is drawn, the range kept,
    // with the music from 14 s under it (its crash at 15 s heard at video second 1).
    const int64_t scenes = Count(Op::BeginScene), reads = Count(Op::ReadRenderTarget);
    ASSERT_EQ(Capture("intro.mp4", 14.0, 16.0, progress), 0);
    EXPECT_EQ(Count(Op::BeginScene) - scenes, 160);
    EXPECT_EQ(Count(Op::ReadRenderTarget) - reads, 20);
    const DecodedVideo video = ReadVideo("intro.mp4");
    EXPECT_EQ(video.width, 64);
    EXPECT_EQ(video.height, 36);
    EXPECT_EQ(video.pictures.size(), 20u);
    EXPECT_EQ(video.fpsNumerator / video.fpsDenominator, 10);
    EXPECT_TRUE(video.yuv420);
    EXPECT_TRUE(video.bt709);
    // The index comes before the pictures, so that playing can start while the file downloads.
    const std::vector<std::string> boxes = TopLevelBoxes("intro.mp4");
    const auto index = std::find(boxes.begin(), boxes.end(), "moov"), data = std::find(boxes.begin(), boxes.end(), "mdat");
    ASSERT_NE(index, boxes.end());
    ASSERT_NE(data, boxes.end());
    EXPECT_LT(index, data);
    EXPECT_NEAR(video.seconds, 2.0, 0.05);
    ASSERT_EQ(video.soundStreams, 1);
    EXPECT_NEAR(double(video.sound.size()) / 2 / video.soundRate, 2.0, 0.05);
    const FileSys files;
    Soundtrack music(files, 14.0);
    std::vector<float> reference(video.sound.size());
    music.Read(reference.data(), reference.size() / 2);
    EXPECT_LE(std::abs(BestLag(video.sound, reference, 512)), 2);
    EXPECT_EQ(PartialFilesIn("."), 0u);
}

TEST_F(CaptureRecorderTest, CtrlCFinishesAPlayableVideoWithTheFramesMadeSoFar)
{
    // Interrupted at its first progress line on a terminal, a quarter of a second in.
    std::atomic<bool> interrupted{false};
    InterruptingBuffer buffer(interrupted);
    std::ostream progress(&buffer);
    ASSERT_EQ(Capture("cut.mp4", 16.0, 60.0, progress, interrupted, true), InterruptedExitCode);
    const DecodedVideo cut = ReadVideo("cut.mp4");
    EXPECT_GT(cut.pictures.size(), 0u);
    EXPECT_LT(cut.pictures.size(), 440u);
    EXPECT_EQ(static_cast<int64_t>(cut.pictures.size()), Count(Op::ReadRenderTarget));
    EXPECT_NEAR(cut.seconds, static_cast<double>(cut.pictures.size()) / 10, 0.05);
    EXPECT_EQ(PartialFilesIn("."), 0u);
}

TEST_F(CaptureRecorderTest, TheVideoIsWholeOrNotThereAndALinkStaysALink)
{
    // Through a link: the video goes beside the file it names, and the link stays.
    fs::create_directories("videos");
    WriteText("videos/real.mp4", "an earlier video");
    fs::create_symlink("videos/real.mp4", "linked.mp4");
    std::ostringstream progress;
    ASSERT_EQ(Capture("linked.mp4", 16.0, 16.2, progress), 0);
    EXPECT_TRUE(fs::is_symlink("linked.mp4"));
    EXPECT_EQ(ReadVideo("videos/real.mp4").pictures.size(), 2u);
    EXPECT_EQ(PartialFilesIn(".") + PartialFilesIn("videos"), 0u);

    // A show that cannot open leaves an earlier file of that name as it was.
    WriteText("kept.mp4", "an earlier video");
    // (The working folder's archive comes first, so a broken one fails the show.)
    fs::rename("basefile.dat", "elsewhere.dat");
    WriteText("basefile.dat", "not an archive");
    EXPECT_THROW(Capture("kept.mp4", 16.0, 16.2, progress), FrameworkEx);
    EXPECT_EQ(ReadText("kept.mp4"), "an earlier video");
    EXPECT_EQ(PartialFilesIn("."), 0u);

    // Stills follow a link too, and a full device under a still's name fails naming it, kept.
    fs::remove("basefile.dat");
    fs::rename("elsewhere.dat", "basefile.dat");
    fs::create_directories("stills");
    fs::create_symlink("../videos/still.png", "stills/show-16.png");
    CaptureOptions stills;
    stills.mode = CaptureOptions::Mode::Stills;
    stills.stills = {16.0, 16.5};
    stills.directory = "stills";
    stills.width = 64;
    stills.height = 36;
    stills.fps = 10;
    const bool full = MakeFullDevice("stills/show-16.5.png");
    const auto runStills = [&] {
        return RunCapture(stills, notInterrupted, progress, false, RecorderDirect3DCreator(recorder));
    };
    if (full) {
        try {
            runStills();
            ADD_FAILURE() << "a still went into a full device";
        } catch (const FrameworkEx& e) {
            EXPECT_EQ(e.message, "stills/show-16.5.png: could not write the whole file: No space left on device");
        }
        EXPECT_FALSE(fs::is_regular_file("stills/show-16.5.png"));
    } else {
        EXPECT_EQ(runStills(), 0);
    }
    EXPECT_TRUE(fs::is_symlink("stills/show-16.png"));
    EXPECT_GT(fs::file_size("videos/still.png"), 0u);
    EXPECT_EQ(PartialFilesIn("stills") + PartialFilesIn("videos"), 0u);

    // The player refuses what an MP4 cannot be written to before it opens anything: exit 2, and
    // a device node or pipe stays what it was.
    std::vector<std::pair<std::string, std::string>> refusals{{"pipe.mp4", "a pipe"}};
    ASSERT_EQ(mkfifo("pipe.mp4", 0666), 0);
    if (MakeFullDevice("full.mp4"))
        refusals.push_back({"full.mp4", "a character device"});
    for (const auto& [output, kind] : refusals) {
        const ToolRun refused = Invoke(QL_PLAYER, {"--capture", output, "--size", "64x36"});
        EXPECT_EQ(refused.exitCode, 2);
        EXPECT_EQ(refused.err, "quiet-lantern: --capture " + output + ": that is " + kind +
                                   ", and an MP4 is finished by going back into its file: name a regular file\n");
        EXPECT_FALSE(fs::is_regular_file(output));
    }
    const ToolRun refused = Invoke(QL_PLAYER, {"--capture", "kept.mp4", "--fps", "500"});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.err, "quiet-lantern: --fps 500: expected a whole number from 1 to 240\n");
    EXPECT_EQ(ReadText("kept.mp4"), "an earlier video");
}
