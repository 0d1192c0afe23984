// noisebake: writes the noise volume "Data\noise.bin" with the engine's own noise code, so that the
// show reads it from the archive instead of computing it at start-up.
#include "CommandLine.h"
#include "KeyText.h"
#include "ToolMain.h"

#include "Framework/FileSys/AtomicFile.h"
#include "Framework/Noise/CrtRand.h"
#include "Framework/Noise/NoiseVolume.h"

#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

namespace {

const ToolInfo Tool{"noisebake", R"(Usage: noisebake [--seed N] -o FILE

Bakes the 128 x 128 x 128 noise volume (2097152 bytes, x fastest, no header) into FILE.

Options:
  -o FILE        where to write the volume (required)
  --seed N       seed the random generator with N (0 to 4294967295) before the noise tables are
                 built; without it the generator starts from its initial state, as in the show
  --help         show this help

Prints nothing on success. Exit status: 0 on success, 1 when FILE cannot be written, 2 on a usage
error.
)"};

uint32_t ParseSeed(const std::string& text)
{
    const std::optional<uint32_t> seed = ParseUint32(text);
    if (!seed)
        throw UsageError{"bad seed '" + text + "': expected a whole number from 0 to 4294967295"};
    return *seed;
}

} // namespace

int main(int argc, char** argv)
{
    return RunTool(Tool, argc, argv, [](const std::vector<std::string>& args) {
        const CommandLine line(args, {"-o", "--seed"}, {});
        line.Operands(0, "no arguments besides the options");
        const std::string& output = line.Value("-o");
        if (line.Has("--seed"))
            CrtRand::srand(ParseSeed(line.Value("--seed")));

        // Opened before the bake so that an unwritable path fails at once, not after seconds of work.
        AtomicFile file(output);

        std::vector<uint8_t> volume(NoiseVolume::ByteCount);
        const unsigned edge = NoiseVolume::Edge;
        NoiseVolume::Bake(volume.data(), edge, edge, size_t(edge) * edge, std::thread::hardware_concurrency());

        file.Write(volume.data(), volume.size());
        file.Commit();
    });
}
