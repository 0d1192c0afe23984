#include "Demo/Capture/CaptureOptions.h"

#include "Framework/FileSys/AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace {

constexpr double ShowLength = 135.0;
constexpr unsigned MinimumFps = 1, MaximumFps = 240;
const char* const Presets[] = {"ultrafast", "superfast", "veryfast", "faster", "fast",
                               "medium",    "slow",      "slower",   "veryslow"};

double Number(const std::string& option, const std::string& text)
{
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno != 0 || !std::isfinite(value))
        throw CaptureUsageError(option + " " + text + ": expected a number");
    return value;
}

unsigned Whole(const std::string& option, const std::string& text, unsigned minimum, unsigned maximum)
{
    char* end = nullptr;
    errno = 0;
    const unsigned long value = std::strtoul(text.c_str(), &end, 10);
    if (text.empty() || text[0] == '-' || *end != '\0' || errno != 0 || value < minimum || value > maximum)
        throw CaptureUsageError(option + " " + text + ": expected a whole number from " + std::to_string(minimum) +
                                " to " + std::to_string(maximum));
    return static_cast<unsigned>(value);
}

double ShowTime(const std::string& option, const std::string& text)
{
    const double seconds = Number(option, text);
    if (seconds < 0.0 || seconds > ShowLength)
        throw CaptureUsageError(option + " " + text + ": the show runs from 0 to 135 seconds");
    return seconds;
}

void CheckOutputFolder(const std::filesystem::path& folder, const std::string& what)
{
    std::error_code error;
    if (!std::filesystem::is_directory(folder.empty() ? "." : folder, error))
        throw CaptureUsageError(what + ": the folder " + folder.string() + " does not exist");
}

} // namespace

bool AsksForCapture(const std::vector<std::string>& words)
{
    for (const std::string& word : words)
        if (word == "--capture" || word == "--stills")
            return true;
    return false;
}

CaptureOptions ParseCaptureOptions(const std::vector<std::string>& words)
{
    CaptureOptions options;
    bool video = false, stills = false;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= words.size())
                throw CaptureUsageError("Option " + word + " needs a value (see --help)");
            return words[++i];
        };
        if (word == "--capture") {
            video = true;
            options.output = value();
        } else if (word == "--stills") {
            stills = true;
            options.mode = CaptureOptions::Mode::Stills;
            std::stringstream list(value());
            for (std::string time; std::getline(list, time, ',');)
                options.stills.push_back(ShowTime("--stills", time));
        } else if (word == "--out") {
            options.directory = value();
        } else if (word == "--fps") {
            options.fps = Whole("--fps", value(), MinimumFps, MaximumFps);
        } else if (word == "--size") {
            const std::string& text = value();
            try {
                const PixelSize size = ParsePixelSize(text, VideoSizes);
                options.width = size.width;
                options.height = size.height;
            } catch (const PixelSizeError& e) {
                throw CaptureUsageError("--size \"" + text + "\": " + e.what());
            }
        } else if (word == "--from") {
            options.from = ShowTime("--from", value());
        } else if (word == "--to") {
            options.to = ShowTime("--to", value());
        } else if (word == "--crf") {
            options.crf = static_cast<int>(Whole("--crf", value(), 0, 51));
        } else if (word == "--preset") {
            options.preset = value();
            if (std::find(std::begin(Presets), std::end(Presets), options.preset) == std::end(Presets))
                throw CaptureUsageError("--preset " + options.preset + ": expected one of ultrafast, superfast, "
                                        "veryfast, faster, fast, medium, slow, slower, veryslow");
        } else if (word == "--no-audio") {
            options.audio = false;
        } else if (word.find("--nosetup") == std::string::npos && word != "--windowed") {
            // The capture never shows a dialog or a window, so those two are harmless.
            throw CaptureUsageError("Unknown option " + word + " (see --help)");
        }
    }
    if (video && stills)
        throw CaptureUsageError("--capture and --stills: one offline run makes either a video or stills");
    if (video) {
        const std::filesystem::path output(options.output);
        if (output.extension() != ".mp4")
            throw CaptureUsageError("--capture " + options.output + ": the video is written as MP4, so name it *.mp4");
        CheckOutputFolder(output.parent_path(), "--capture " + options.output);
        // The muxer goes back into the file to finish it (its index), which no pipe or device allows.
        if (const std::string kind = SpecialFileKind(options.output); !kind.empty())
            throw CaptureUsageError("--capture " + options.output + ": that is " + kind +
                                    ", and an MP4 is finished by going back into its file: name a regular file");
        if (options.width % 2 != 0 || options.height % 2 != 0)
            throw CaptureUsageError("--size " + std::to_string(options.width) + "x" + std::to_string(options.height) +
                                    ": a 4:2:0 video needs an even width and height");
        if (!(options.from < options.to))
            throw CaptureUsageError("--from " + std::to_string(options.from) + " --to " + std::to_string(options.to) +
                                    ": from must come before to");
        if (std::llround((options.to - options.from) * options.fps) < 1)
            throw CaptureUsageError("--from and --to: the range holds no frame at " + std::to_string(options.fps) +
                                    " frames a second");
    } else {
        if (options.stills.empty())
            throw CaptureUsageError("--stills: expected show seconds, for example --stills 5,40,88");
        CheckOutputFolder(options.directory, "--out " + options.directory);
    }
    return options;
}

std::string CaptureOptionsHelp()
{
    return "Offline (no display or sound card needed; the frames come from the clock, not the wall):\n"
           "  --capture FILE.mp4   render the show into an H.264 + AAC video\n"
           "  --stills T1,T2,...   render PNG stills of the frames at those show seconds\n"
           "  --out DIR            the folder for stills (default: the working folder)\n"
           "  --fps N              frames a second, 1 to 240 (default 60)\n"
           "  --size WxH           picture size, " + VideoSizes.Text() + " (default 1920x1080)\n"
           "  --from S, --to S     the part of the show to capture (default 0 to 135)\n"
           "  --crf Q              H.264 quality, 0 (lossless) to 51 (default 18)\n"
           "  --preset P           x264 speed preset, ultrafast to veryslow (default medium)\n"
           "  --no-audio           a video without the soundtrack\n";
}
