// What the command line asks of a run, beyond the setup dialog's choices.
#pragma once

#include "Framework/PixelSize.h"

#include <optional>
#include <string>

struct LaunchOptions {
    bool showHelp = false;
    bool showVersion = false;
    // Substring match, so that "--nosetup" inside a longer word also skips the dialog.
    bool skipSetup = false;
    std::optional<bool> fullscreen;
    std::optional<unsigned> width, height;
    // Show seconds at which the clock and the music start.
    double seekSeconds = 0.0;
    // The maker's mode: transport keys, the overlay, and a pause on the last frame instead of the
    // end. Off, the player behaves as on a compo machine, where no key may stop the show.
    bool dev = false;
    // With dev: the loose folder whose files win over the archive's; empty for the build's own.
    std::string dataFolder;
};

// --size: a back buffer no side of which exceeds the largest texture the device makes.
inline constexpr PixelSizeLimits BackBufferSizes{.widest = 8192, .tallest = 8192};

// Parses the command line (arguments split as SplitArguments does); raises FrameworkEx naming the option and what was wrong.
LaunchOptions ParseLaunchOptions(const std::string& commandLine);

// The --help text.
std::string LaunchOptionsHelp(const std::string& programName);
