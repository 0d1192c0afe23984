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
           "  --size WxH       back buffer of W x H pixels; the picture is 16:9, letterboxed\n"
           "  --seek SECONDS   start the show clock and the music at that time\n"
           "  --version        print the version and exit\n"
           "  --help           print this help and exit\n"
           "\n"
           "Keys: Escape or the close box ends the show.\n";
}
