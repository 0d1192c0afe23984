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
           "  --size WxH       back buffer of W x H pixels, " + BackBufferSizes.Text() + "; the picture is\n"
           "                   16:9, centred between black bars\n"
           "  --seek SECONDS   start the show clock and the music at that time\n"
           "  --version        print the version and exit\n"
           "  --help           print this help and exit\n"
           "\n"
           "Keys: Escape or the close box ends the show.\n";
}
