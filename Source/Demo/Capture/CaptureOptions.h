// What an offline run of the show is asked to make: a video file (--capture) or still pictures
// (--stills), at which frame rate and size, over which part of the show.
#pragma once

#include "Framework/PixelSize.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// --size: no larger than the largest picture H.264's levels encode (8K UHD).
inline constexpr PixelSizeLimits VideoSizes{.widest = 7680, .tallest = 4320};

struct CaptureOptions {
    enum class Mode { Video, Stills };

    Mode mode = Mode::Video;
    std::string output;    // the video file
    std::string directory = "."; // where stills go
    std::vector<double> stills;  // show seconds, in the order given
    unsigned fps = 60;
    unsigned width = 1920;
    unsigned height = 1080;
    double from = 0.0;
    double to = 135.0;
    int crf = 18;
    std::string preset = "medium";
    bool audio = true;
};

// A command line the capture cannot run: the message says what is wrong and how to ask.
class CaptureUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// True when the words ask for an offline run (--capture or --stills anywhere).
bool AsksForCapture(const std::vector<std::string>& words);

// Parses and checks an offline run's words; throws CaptureUsageError.
CaptureOptions ParseCaptureOptions(const std::vector<std::string>& words);

// The offline options' lines of --help.
std::string CaptureOptionsHelp();
