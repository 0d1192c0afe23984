// The offline mode's logic without a device: the command line it accepts and refuses, the frames
// a late start steps, draws and keeps, and its progress line on a terminal and in a log.
#include "Demo/Capture/CaptureOptions.h"
#include "Demo/Capture/FramePlan.h"
#include "Demo/Capture/Progress.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace {

std::vector<std::string> Words(const std::string& line)
{
    std::istringstream stream(line);
    std::vector<std::string> words;
    for (std::string word; stream >> word;)
        words.push_back(word);
    return words;
}

std::string Refusal(const std::string& line)
{
    try {
        ParseCaptureOptions(Words(line));
    } catch (const CaptureUsageError& error) {
        return error.what();
    }
    return "accepted";
}

} // namespace

TEST(CaptureOptionsTest, DefaultsAreTheWholeShowInFullHdAtSixtyFramesASecond)
{
    const CaptureOptions options = ParseCaptureOptions(Words("--nosetup --capture show.mp4"));
    EXPECT_EQ(options.mode, CaptureOptions::Mode::Video);
    EXPECT_EQ(options.output, "show.mp4");
    EXPECT_EQ(options.fps, 60u);
    EXPECT_EQ(options.width, 1920u);
    EXPECT_EQ(options.height, 1080u);
    EXPECT_EQ(options.from, 0.0);
    EXPECT_EQ(options.to, 135.0);
    EXPECT_TRUE(options.audio);
    const CaptureOptions stills = ParseCaptureOptions(Words("--stills 5,40.5,88 --fps 30 --size 640x360"));
    EXPECT_EQ(stills.stills, (std::vector<double>{5.0, 40.5, 88.0}));
    EXPECT_EQ(stills.width, 640u);
}

TEST(CaptureOptionsTest, EveryBadRequestIsRefusedSayingWhatIsWrong)
{
    EXPECT_EQ(Refusal("--capture a.mp4 --fps 0"), "--fps 0: expected a whole number from 1 to 240");
    EXPECT_EQ(Refusal("--capture a.mp4 --fps 241"), "--fps 241: expected a whole number from 1 to 240");
    EXPECT_EQ(Refusal("--capture a.mp4 --size 7680x4321"), "--size \"7680x4321\": expected WxH from 16x16 to 7680x4320");
    EXPECT_EQ(Refusal("--capture a.mp4 --size 17x16"), "--size 17x16: a 4:2:0 video needs an even width and height");
    EXPECT_EQ(Refusal("--capture a.mp4 --from 20 --to 10"), "--from 20.000000 --to 10.000000: from must come before to");
    EXPECT_EQ(Refusal("--capture a.mp4 --to 136"), "--to 136: the show runs from 0 to 135 seconds");
    EXPECT_EQ(Refusal("--capture a.mp4 --from -1"), "--from -1: the show runs from 0 to 135 seconds");
    EXPECT_EQ(Refusal("--capture a.mp4 --from nan"), "--from nan: expected a number");
    EXPECT_EQ(Refusal("--capture a.avi"), "--capture a.avi: the video is written as MP4, so name it *.mp4");
    EXPECT_EQ(Refusal("--capture no/such/folder/a.mp4"), "--capture no/such/folder/a.mp4: the folder no/such/folder does not exist");
    EXPECT_EQ(Refusal("--capture a.mp4 --preset warp"),
              "--preset warp: expected one of ultrafast, superfast, veryfast, faster, fast, medium, slow, slower, veryslow");
    EXPECT_EQ(Refusal("--capture a.mp4 --crf 52"), "--crf 52: expected a whole number from 0 to 51");
    EXPECT_EQ(Refusal("--capture"), "Option --capture needs a value (see --help)");
    EXPECT_EQ(Refusal("--capture a.mp4 --stills 3"), "--capture and --stills: one offline run makes either a video or stills");
    EXPECT_EQ(Refusal("--stills 3,200"), "--stills 200: the show runs from 0 to 135 seconds");
    EXPECT_EQ(Refusal("--capture a.mp4 --seek 3"), "Unknown option --seek (see --help)");

    // A pipe or a device, also behind a link, cannot be gone back into to finish an MP4.
    const std::string pipe = testing::TempDir() + "capture-pipe.mp4", link = testing::TempDir() + "capture-link.mp4";
    std::remove(pipe.c_str());
    std::remove(link.c_str());
    ASSERT_EQ(mkfifo(pipe.c_str(), 0666), 0);
    ASSERT_EQ(symlink(pipe.c_str(), link.c_str()), 0);
    for (const std::string& output : {pipe, link})
        EXPECT_EQ(Refusal("--capture " + output),
                  "--capture " + output + ": that is a pipe, and an MP4 is finished by going back into its file: name a regular file");
    std::remove(link.c_str());
    std::remove(pipe.c_str());
}

TEST(FramePlanTest, ALateStartMeetsTheFrameTimesOfARunFromTheStart)
{
    const FramePlan whole = PlanFrames(0.0, 135.0, 60.0, 0.0);
    const FramePlan late = PlanFrames(50.5, 60.0, 60.0, 50.5);
    EXPECT_EQ(whole.KeptFrames(), 8100);
    EXPECT_EQ(late.KeptFrames(), 570);
    EXPECT_EQ(late.firstStepped, 0) << "every frame from the show's start is stepped";
    EXPECT_EQ(late.firstDrawn, late.firstKept) << "a scene drawn afresh needs no earlier picture";
    for (int64_t frame = late.firstStepped; frame < late.end; frame += 97)
        EXPECT_EQ(late.Time(frame), whole.Time(frame)) << "frame " << frame;
    EXPECT_EQ(late.Time(late.firstKept), 50.5);

    // In a scene that draws over its last picture, drawing starts a frame before that scene did.
    const FramePlan trails = PlanFrames(121.0, 122.0, 10.0, 120.0 - 0.1);
    EXPECT_EQ(trails.firstKept, 1210);
    EXPECT_EQ(trails.firstDrawn, 1199);
    EXPECT_EQ(trails.end, 1220);

    // Off the grid, frames lie at from + n / fps, the earliest steps still at or after 0.
    const FramePlan off = PlanFrames(0.25, 1.0, 10.0, 0.25);
    EXPECT_FALSE(off.onGrid);
    EXPECT_DOUBLE_EQ(off.Time(off.firstStepped), 0.05);
    EXPECT_EQ(off.Time(off.firstKept), 0.25);
    EXPECT_EQ(off.KeptFrames(), 8);
}

TEST(ProgressTest, ATerminalRedrawsOneLineAndALogGetsALineEveryFewSeconds)
{
    double now = 100.0;
    const auto clock = [&] { return now; };
    std::ostringstream terminal, log;
    Progress onTerminal(terminal, true, "capture", 8100, clock);
    Progress inLog(log, false, "capture", 8100, clock);
    for (int frame = 1; frame <= 120; ++frame) {
        now = 100.0 + frame / 10.0; // ten frames a second
        onTerminal.Update(frame);
        inLog.Update(frame);
    }
    onTerminal.Finish(120);
    inLog.Finish(120);
    EXPECT_EQ(inLog.Line(120), "capture: 120 of 8100 frames (1.5%), 10.0 frames/s, 13:18 left");
    // A log line every five seconds (at 5 and 10 s) and one at the end.
    EXPECT_EQ(log.str(), "capture: 50 of 8100 frames (0.6%), 10.0 frames/s, 13:25 left\n"
                         "capture: 100 of 8100 frames (1.2%), 10.0 frames/s, 13:20 left\n"
                         "capture: 120 of 8100 frames (1.5%), 10.0 frames/s, 13:18 left\n");
    const std::string drawn = terminal.str();
    EXPECT_EQ(std::count(drawn.begin(), drawn.end(), '\n'), 1) << "one line, ended at the finish";
    EXPECT_GT(std::count(drawn.begin(), drawn.end(), '\r'), 30) << "redrawn about four times a second";
    EXPECT_NE(drawn.rfind("\rcapture: 120 of 8100 frames"), std::string::npos);
}
