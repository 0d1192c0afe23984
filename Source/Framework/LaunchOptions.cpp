#include "Framework/LaunchOptions.h"

#include "Framework/CommandLineQuoting.h"
#include "Framework/FrameworkEx.h"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

const std::string& ValueOf(const std::vector<std::string>& words, size_t& i)
{
    if (i + 1 >= words.size())
        throw FrameworkEx("Option " + words[i] + " needs a value (see --help)");
    return words[++i];
}

} // namespace

LaunchOptions ParseLaunchOptions(const std::string& commandLine)
{
    LaunchOptions options;
    options.skipSetup = commandLine.find("--nosetup") != std::string::npos;
    const std::vector<std::string> words = SplitArguments(commandLine);
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--help" || word == "-h") {
            options.showHelp = true;
        } else if (word == "--version") {
            options.showVersion = true;
        } else if (word == "--dev") {
            options.dev = true;
        } else if (word == "--data") {
            options.dataFolder = ValueOf(words, i);
        } else if (word == "--windowed") {
            options.fullscreen = false;
        } else if (word == "--fullscreen") {
            options.fullscreen = true;
        } else if (word == "--size") {
            const std::string& text = ValueOf(words, i);
            try {
                const PixelSize size = ParsePixelSize(text, BackBufferSizes);
                options.width = size.width;
                options.height = size.height;
            } catch (const PixelSizeError& e) {
                throw FrameworkEx("--size \"" + text + "\": " + e.what());
            }
        } else if (word == "--seek") {
            const std::string& seconds = ValueOf(words, i);
            char* end = nullptr;
            options.seekSeconds = std::strtod(seconds.c_str(), &end);
            if (seconds.empty() || *end != '\0' || !std::isfinite(options.seekSeconds) || options.seekSeconds < 0.0)
                throw FrameworkEx("--seek \"" + seconds + "\": expected a number of seconds from 0");
        } else if (word.find("--nosetup") == std::string::npos) {
            throw FrameworkEx("Unknown option \"" + word + "\" (see --help)");
        }
    }
    if (!options.dataFolder.empty() && !options.dev)
        throw FrameworkEx("--data " + options.dataFolder + ": only with --dev (the show itself reads only the archive)");
    return options;
}

std::string LaunchOptionsHelp(const std::string& programName)
{
    return "Usage: " + programName + " [options]\n"
           "Plays the show from basefile.dat in the working folder, or else the one beside the program.\n"
           "\n"
           "  --nosetup        start at once, without the setup dialog\n"
           "  --windowed       play in a window\n"
           "  --fullscreen     play fullscreen\n"
           "  --size WxH       back buffer of W x H pixels, " + BackBufferSizes.Text() + "; the picture is\n"
           "                   16:9, centred between black bars\n"
           "  --seek SECONDS   start the show clock and the music at that time\n"
           "  --dev            maker's mode: transport keys and an overlay (below); the show\n"
           "                   pauses on its last frame instead of ending. --seek and --dev\n"
           "                   prepare the show's states in a second process and keep them in\n"
           "                   ~/.cache/quiet-lantern, so that a jump shows what a run from 0 shows.\n"
           "                   The files of the build's data folder win over the archive's and\n"
           "                   reload when saved\n"
           "  --data DIR       with --dev: that folder instead of the build's\n"
           "  --version        print the version and exit\n"
           "  --help           print this help and exit\n"
           "\n"
           "Keys: Escape or the close box ends the show. With --dev also:\n"
           "  Space            pause and resume (the music with the show)\n"
           "  Left, Right      one bar back or on (1.875 s); with Shift four bars\n"
           "  Page Up, Down    the previous or the next scene's start\n"
           "  Home             the show's start\n"
           "  comma, period    one step (1/60 s) back or on while paused\n"
           "  L                loop the current scene, or end the loop\n"
           "  [, ]             a loop's start or end at the current time\n"
           "  F1               hide or show the overlay\n"
           "  F12              save the frame as show-SECONDS.png\n";
}
