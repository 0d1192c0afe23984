// synth: renders a score to the show's Ogg Vorbis soundtrack (and a WAV for analysis).
#include "Dsp/Constants.h"
#include "Dsp/Limiter.h"
#include "Output/VorbisEncoder.h"
#include "Output/WavWriter.h"
#include "Output/WriteFile.h"
#include "Render/SongRenderer.h"
#include "Score/ScoreParser.h"
#include "SynthError.h"

#include <chrono>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>

namespace {

constexpr int ExitOk = 0;
constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

const char* const Usage =
    "Usage: synth SCORE [-o OUT.ogg] [--wav OUT.wav] [--verbose]\n"
    "Renders the song that SCORE describes at 44100 Hz in stereo.\n"
    "\n"
    "  -o, --output OUT.ogg  write Ogg Vorbis (quality 5, fixed stream serial: the same score\n"
    "                        gives the same bytes)\n"
    "  --wav OUT.wav         write 32-bit float WAV, for analysis\n"
    "  --verbose             print the render and encode times and the true peak\n"
    "  -h, --help            show this text\n"
    "\n"
    "At least one of -o and --wav is needed. Exit status: 0 done, 1 the score or an output\n"
    "failed (the message names the file and line), 2 wrong command line.\n";

struct Options {
    std::string score;
    std::optional<std::string> ogg, wav;
    bool verbose = false;
};

struct UsageError {
    std::string message;
};

Options ParseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                throw UsageError{arg + " needs a file name"};
            return argv[++i];
        };
        if (arg == "-o" || arg == "--output")
            options.ogg = value();
        else if (arg == "--wav")
            options.wav = value();
        else if (arg == "--verbose")
            options.verbose = true;
        else if (!arg.empty() && arg[0] == '-')
            throw UsageError{"unknown option " + arg};
        else if (options.score.empty())
            options.score = arg;
        else
            throw UsageError{"more than one score: " + options.score + " and " + arg};
    }
    if (options.score.empty())
        throw UsageError{"no score given"};
    if (!options.ogg && !options.wav)
        throw UsageError{"nothing to write: give -o OUT.ogg and/or --wav OUT.wav"};
    return options;
}

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Run(const Options& options)
{
    const synth::Score score = synth::LoadScore(options.score);
    auto start = std::chrono::steady_clock::now();
    const synth::StereoBuffer audio = synth::RenderSong(score);
    const double renderSeconds = SecondsSince(start);

    double encodeSeconds = 0.0;
    if (options.ogg) {
        start = std::chrono::steady_clock::now();
        const auto bytes = synth::EncodeVorbis(audio, {0.5f, 0x514C0001, score.title});
        encodeSeconds = SecondsSince(start);
        synth::WriteFile(*options.ogg, bytes);
    }
    if (options.wav)
        synth::WriteFile(*options.wav, synth::EncodeWav(audio));

    if (options.verbose) {
        std::printf("%s: %.2f s of music rendered in %.2f s, encoded in %.2f s; true peak %.2f dBTP\n",
                    options.score.c_str(), static_cast<double>(audio.left.size()) / synth::SampleRate, renderSeconds,
                    encodeSeconds, synth::GainToDb(synth::TruePeak(audio.left, audio.right)));
    }
}

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::cout << Usage;
            return ExitOk;
        }
    }
    try {
        Run(ParseOptions(argc, argv));
    } catch (const UsageError& error) {
        std::cerr << "synth: " << error.message << "\n" << Usage;
        return ExitUsage;
    } catch (const synth::SynthError& error) {
        std::cerr << error.what() << "\n";
        return ExitFailed;
    } catch (const std::exception& error) {
        std::cerr << "synth: " << error.what() << "\n";
        return ExitFailed;
    }
    return ExitOk;
}
