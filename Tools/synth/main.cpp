// synth: renders a score to the show's Ogg Vorbis soundtrack (and a WAV for analysis).
#include "CommandLine.h"
#include "ToolMain.h"

#include "Dsp/Constants.h"
#include "Dsp/Limiter.h"
#include "Output/VorbisEncoder.h"
#include "Output/WavWriter.h"
#include "Render/SongRenderer.h"
#include "Score/ScoreParser.h"

#include "Framework/FileSys/ArchiveWriter.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

const ToolInfo Tool{"synth", R"(Usage: synth SCORE -o OUT.ogg [--wav OUT.wav] [--verbose]
       synth SCORE --wav OUT.wav

Renders the song that SCORE describes (Data/music/README.md gives the form) at 44100 Hz in
stereo, then writes it as Ogg Vorbis, as a WAV file for analysis, or both.

Options:
  -o FILE      write Ogg Vorbis: quality 5 and a fixed stream serial, so the same score always
               gives the same bytes
  --wav FILE   write 32-bit float WAV
  --verbose    print how long rendering and encoding took, and the true peak
  --help       show this help

Exit status: 0 on success, 1 when the score holds a fault (the message names the file and line)
or an output cannot be written, 2 on a usage error.
)"};

// Quality 5 on the familiar 0..10 scale; libvorbis counts 0..1.
constexpr float VorbisQuality = 0.5f;
// Any fixed number will do; a random serial would change the file on every build.
constexpr int VorbisSerial = 0x514C0001;

class Stopwatch {
public:
    double WallSeconds() const
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
    }
    double CpuSeconds() const { return static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC; }

private:
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    std::clock_t cpu = std::clock();
};

} // namespace

int main(int argc, char** argv)
{
    return RunTool(Tool, argc, argv, [](const std::vector<std::string>& args) {
        const CommandLine line(args, {"-o", "--wav"}, {"--verbose"});
        const std::string& scorePath = line.Operands(1, "one score")[0];
        if (!line.Has("-o") && !line.Has("--wav"))
            throw UsageError{"nothing to write: give -o OUT.ogg, --wav OUT.wav or both"};

        const synth::Score score = synth::LoadScore(scorePath);
        const Stopwatch render;
        const synth::StereoBuffer audio = synth::RenderSong(score);
        const double renderWall = render.WallSeconds(), renderCpu = render.CpuSeconds();

        double encodeWall = 0.0, encodeCpu = 0.0;
        if (line.Has("-o")) {
            const Stopwatch encode;
            const auto bytes = synth::EncodeVorbis(audio, {VorbisQuality, VorbisSerial, score.title});
            encodeWall = encode.WallSeconds();
            encodeCpu = encode.CpuSeconds();
            WriteWholeFile(line.Value("-o"), bytes);
        }
        if (line.Has("--wav"))
            WriteWholeFile(line.Value("--wav"), synth::EncodeWav(audio));

        if (line.Has("--verbose")) {
            std::printf("%s: %.2f s of music; rendered in %.2f s (%.2f s CPU), encoded in %.2f s (%.2f s CPU); "
                        "true peak %.2f dBTP\n",
                        scorePath.c_str(), static_cast<double>(audio.left.size()) / synth::SampleRate, renderWall,
                        renderCpu, encodeWall, encodeCpu,
                        synth::GainToDb(synth::TruePeak(audio.left, audio.right)));
        }
    });
}
