// Jumps in the player itself, as a maker makes them: "--dev" at 800x450 over the show's archive
// (QL_SHOW_ARCHIVE), its keys pressed by a library preloaded into it (JumpKeys.cpp) and its
// presented frames noted by another (FrameTimes.cpp). From the start, Page Down to every scene's
// start in turn (each scene's first frame in the process, its GL programs made then), then bar
// jumps into the end, back to the start and bar jumps into the intro (scenes that draw over their
// last picture, where a jump draws its trail frames), after the maker's mode has drawn each scene
// once. An untimed first run fills the player's show states and Mesa's shader cache in a folder of
// their own, as a maker's earlier runs would.
// A jump's figure is the interval between the frames presented before and after its key, which
// holds the jump and one frame; the report gives each, and the frames' median around them.
#include <benchmark/benchmark.h>

#include "BenchDevice.h"
#include "BenchRun.h"
#include "PlayerProcess.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const char* const Keys = "PageDown,PageDown,PageDown,PageDown,PageDown,PageDown,PageDown,PageDown,Right,Right,"
                         "Home,Right,Right,Right,Left";

struct Press {
    double time = 0.0;
    std::string key;
};

struct Run {
    std::vector<double> frames;
    std::vector<Press> presses;
};

Run PlayWithKeys(const std::filesystem::path& directory, double delay)
{
    const std::filesystem::path frameFile = directory / "frame-times", keyFile = directory / "key-times";
    std::vector<std::string> settings = {
        "LD_PRELOAD=" QL_FRAME_TIMES " " QL_JUMP_KEYS,
        "QL_FRAME_TIMES_FILE=" + frameFile.string(),
        "QL_JUMP_KEYS_FILE=" + keyFile.string(),
        std::string("QL_JUMP_KEYS=") + Keys,
        "QL_JUMP_KEYS_DELAY=" + std::to_string(delay),
        "SDL_VIDEODRIVER=offscreen",
        "SDL_AUDIODRIVER=dummy",
        "MESA_SHADER_CACHE_DIR=" + (directory / "shader-cache").string(),
        "XDG_CACHE_HOME=" + (directory / "cache").string(),
    };
    const int status = RunPlayer(directory, std::move(settings), "800x450", {"--dev"}).status;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(PlayerProgram() + " failed (status " + std::to_string(status) + ")");
    Run run;
    std::ifstream frames(frameFile);
    for (double t; frames >> t;)
        run.frames.push_back(t);
    std::ifstream keys(keyFile);
    for (Press press; keys >> press.time >> press.key;)
        run.presses.push_back(press);
    return run;
}

void PlayerJumps(benchmark::State& state)
{
    SkipOnFailure(state, [&] {
        const char* archive = std::getenv("QL_SHOW_ARCHIVE");
        if (!archive || !std::filesystem::exists(archive))
            throw BenchUnavailable("QL_SHOW_ARCHIVE names no show archive (the build's basefile.dat)");
        const PlayerFolder directory("ql-jump-bench", archive);
        // The first run also prepares the states: its keys wait until that is surely done.
        PlayWithKeys(directory.Path(), 15.0);
        // The keys wait until the maker's mode has drawn every scene once.
        Run run;
        for (auto _ : state)
            run = PlayWithKeys(directory.Path(), 12.0);

        std::cout << "\nJumps in the player (--dev, 800x450): the frame interval holding each\n";
        double worst = 0.0, sum = 0.0;
        int counted = 0;
        for (const Press& press : run.presses) {
            if (press.key == "Escape")
                continue;
            const auto after = std::upper_bound(run.frames.begin(), run.frames.end(), press.time);
            if (after == run.frames.begin() || after == run.frames.end())
                continue;
            const double jump = (*after - *(after - 1)) * 1e3;
            std::vector<double> around;
            for (auto frame = std::max(run.frames.begin() + 1, after - 11); frame < after - 1; ++frame)
                around.push_back((*frame - *(frame - 1)) * 1e3);
            std::sort(around.begin(), around.end());
            char line[120];
            std::snprintf(line, sizeof line, "  %-9s %7.0f ms   (frames before it: median %5.0f ms)\n", press.key.c_str(),
                          jump, around.empty() ? 0.0 : around[around.size() / 2]);
            std::cout << line;
            worst = std::max(worst, jump);
            sum += jump;
            ++counted;
        }
        state.counters["jumps"] = counted;
        state.counters["worst_ms"] = worst;
        state.counters["mean_ms"] = counted ? sum / counted : 0.0;
    });
}

const bool registered = [] {
    benchmark::RegisterBenchmark("Jump/player/keys", PlayerJumps)->Unit(benchmark::kSecond)->Iterations(1);
    return true;
}();

} // namespace
