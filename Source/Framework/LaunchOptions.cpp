#include "Framework/LaunchOptions.h"

#include "Framework/FrameworkEx.h"

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace {

std::vector<std::string> Words(const std::string& text)
{
    std::istringstream stream(text);
    std::vector<std::string> words;
    for (std::string word; stream >> word;)
        words.push_back(word);
    return words;
}

const std::string& ValueOf(const std::vector<std::string>& words, size_t& i)
{
    if (i + 1 >= words.size())
        throw FrameworkEx("Option " + words[i] + " needs a value (see --help)");
    return words[++i];
}

unsigned ParseDimension(const std::string& text, const std::string& whole)
{
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < 16 || value > 8192)
        throw FrameworkEx("--size " + whole + ": width and height must be whole numbers from 16 to 8192");
    return static_cast<unsigned>(value);
}

} // namespace

LaunchOptions ParseLaunchOptions(const std::string& commandLine)
{
    LaunchOptions options;
    options.skipSetup = commandLine.find("--nosetup") != std::string::npos;
    const std::vector<std::string> words = Words(commandLine);
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
            const std::string& size = ValueOf(words, i);
            const size_t x = size.find_first_of("xX");
            if (x == std::string::npos)
                throw FrameworkEx("--size " + size + ": expected WIDTHxHEIGHT, for example 1280x720");
            options.width = ParseDimension(size.substr(0, x), size);
            options.height = ParseDimension(size.substr(x + 1), size);
        } else if (word == "--seek") {
            const std::string& seconds = ValueOf(words, i);
            char* end = nullptr;
            options.seekSeconds = std::strtod(seconds.c_str(), &end);
            if (seconds.empty() || *end != '\0' || !std::isfinite(options.seekSeconds) || options.seekSeconds < 0.0)
                throw FrameworkEx("--seek " + seconds + ": expected a number of seconds from 0");
        } else if (word.find("--nosetup") == std::string::npos) {
            throw FrameworkEx("Unknown option " + word + " (see --help)");
        }
    }
    if (!options.dataFolder.empty() && !options.dev)
        throw FrameworkEx("--data " + options.dataFolder + ": only with --dev (the show itself reads only the archive)");
    return options;
}

std::string LaunchOptionsHelp(const std::string& programName)
{
    return "Usage: " + programName + " [options]\n"
           "Plays the show from basefile.dat in the working directory.\n"
           "\n"
           "  --nosetup        start at once, without the setup dialog\n"
           "  --windowed       play in a window\n"
           "  --fullscreen     play fullscreen\n"
           "  --size WxH       back buffer of W x H pixels; the picture is 16:9, letterboxed\n"
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
