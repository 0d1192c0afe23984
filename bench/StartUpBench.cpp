// Start-up: from the moment the player process is started to its first presented frame, at
// 800 x 450 with the show's archive (QL_SHOW_ARCHIVE), spawned as a user starts it
// ("--nosetup --windowed --size 800x450", SDL's offscreen video and dummy audio drivers). A library
// preloaded into it (FirstFrameExit.cpp) notes the time of the first buffer swap and ends it there.
// Three cases: the archive as built; without its noise volume and without the loose file a bake
// leaves (every voxel baked); without the entry but with that file, as a second start finds it.
// Each with Mesa's shader cache off (every shader compiled, as at the very first start on a
// machine) and with a cache of its own that an untimed first start filled. The counter cpu_ms is
// the CPU time the player used on all its threads, which other work on the machine skews less.
// QL_START_PLAYER names another player to time instead of this build's (an earlier build's, for
// figures before and after a change).
// StartUp/seek-<T>: the first frame of "--seek T" (T in each scene), with the show's states in the
// cache an untimed first start had its preparing process write (the shader cache warm too).
#include <benchmark/benchmark.h>

#include "BenchDevice.h"
#include "BenchRun.h"
#include "PlayerProcess.h"

#include "Framework/FileSys/ArchiveWriter.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>


namespace {

enum class Volume { InArchive, Baked, FromLooseFile };

class StartDirectory {
public:
    explicit StartDirectory(Volume volume) : volume(volume)
    {
        const char* archive = std::getenv("QL_SHOW_ARCHIVE");
        if (!archive || !std::filesystem::exists(archive))
            throw BenchUnavailable("QL_SHOW_ARCHIVE names no show archive (the build's basefile.dat)");
        char pattern[] = "/tmp/ql-start-bench-XXXXXX";
        if (!mkdtemp(pattern))
            throw BenchUnavailable("no working directory can be made");
        directory = pattern;
        ArchiveWriter writer;
        writer.AddEntriesOf(archive, volume == Volume::InArchive ? std::set<std::string>{} : std::set<std::string>{NoiseEntry});
        WriteWholeFile((directory / "basefile.dat").string(), writer.Build());
        std::filesystem::create_directories(directory / "Data");
        std::filesystem::create_directories(directory / "shader-cache");
    }
    ~StartDirectory()
    {
        std::error_code ignored; // a leftover temporary folder is no reason to fail a benchmark
        std::filesystem::remove_all(directory, ignored);
    }
    StartDirectory(const StartDirectory&) = delete;
    StartDirectory& operator=(const StartDirectory&) = delete;

    struct Figures {
        double seconds = 0.0;    // from spawning the player to its first presented frame
        double cpuSeconds = 0.0; // of the player, all threads
    };

    Figures Start(bool shaderCache, const std::vector<std::string>& options = {}) const
    {
        const std::filesystem::path cache = directory / "Data" / "noise.bin";
        if (volume == Volume::Baked)
            std::filesystem::remove(cache);
        const std::filesystem::path stamp = directory / "first-frame";
        std::filesystem::remove(stamp);

        // In place of this process's own settings of the same names.
        std::vector<std::string> settings = {
            "LD_PRELOAD=" QL_FIRST_FRAME_EXIT,
            "QL_FIRST_FRAME_FILE=" + stamp.string(),
            "SDL_VIDEODRIVER=offscreen",
            "SDL_AUDIODRIVER=dummy",
            std::string("MESA_SHADER_CACHE_DISABLE=") + (shaderCache ? "false" : "true"),
            "MESA_SHADER_CACHE_DIR=" + (directory / "shader-cache").string(),
            "XDG_CACHE_HOME=" + (directory / "cache").string(),
        };
        const PlayerExit exit = RunPlayer(directory, std::move(settings), "800x450", options);
        std::ifstream in(stamp);
        long long seconds = 0;
        long nanoseconds = 0;
        if (!WIFEXITED(exit.status) || WEXITSTATUS(exit.status) != 0 || !(in >> seconds >> nanoseconds))
            throw std::runtime_error(PlayerProgram() + " ended before its first frame (status " + std::to_string(exit.status) + ")");
        if (volume == Volume::Baked && !std::filesystem::exists(cache))
            throw std::runtime_error("the player baked no noise volume");
        const auto cpu = [](const timeval& time) { return double(time.tv_sec) + double(time.tv_usec) * 1e-6; };
        return {double(seconds) + double(nanoseconds) * 1e-9 - exit.started, cpu(exit.usage.ru_utime) + cpu(exit.usage.ru_stime)};
    }

    // Waits up to two minutes for the preparing process of a start to have written the states.
    bool StatesCached() const
    {
        const std::filesystem::path folder = directory / "cache" / "quiet-lantern";
        for (int tenth = 0; tenth < 1200; ++tenth) {
            if (std::filesystem::exists(folder) && !std::filesystem::is_empty(folder))
                for (const auto& entry : std::filesystem::directory_iterator(folder))
                    if (entry.path().extension() == ".bin")
                        return true;
            usleep(100000);
        }
        return false;
    }

private:
    static inline const std::string NoiseEntry = "Data\\noise.bin";
    Volume volume;
    std::filesystem::path directory;
};

void StartUp(benchmark::State& state, Volume volume, bool shaderCache)
{
    SkipOnFailure(state, [&] {
        const StartDirectory directory(volume);
        // Fills the shader cache, and for a loose file the file, as a first start would.
        directory.Start(shaderCache);
        double cpu = 0.0;
        for (auto _ : state) {
            const StartDirectory::Figures figures = directory.Start(shaderCache);
            state.SetIterationTime(figures.seconds);
            cpu += figures.cpuSeconds;
        }
        state.counters["cpu_ms"] = cpu / double(state.iterations()) * 1e3;
    });
}

void Register(const char* name, Volume volume)
{
    for (const bool cache : {false, true})
        benchmark::RegisterBenchmark((std::string("StartUp/") + name + (cache ? "/shader-cache" : "/no-shader-cache")).c_str(),
                                     [volume, cache](benchmark::State& state) { StartUp(state, volume, cache); })
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(5);
}

void SeekStart(benchmark::State& state, double seconds)
{
    SkipOnFailure(state, [&] {
        const StartDirectory directory(Volume::InArchive);
        directory.Start(true, {"--seek", "1"});
        if (!directory.StatesCached())
            throw std::runtime_error("the preparing process wrote no states");
        const std::vector<std::string> seek = {"--seek", std::to_string(seconds)};
        directory.Start(true, seek);
        double cpu = 0.0;
        for (auto _ : state) {
            const StartDirectory::Figures figures = directory.Start(true, seek);
            state.SetIterationTime(figures.seconds);
            cpu += figures.cpuSeconds;
        }
        state.counters["cpu_ms"] = cpu / double(state.iterations()) * 1e3;
    });
}

const bool registered = [] {
    // The intro, a part, the scroller, the box scene and the end.
    for (const double seconds : {8.0, 20.0, 50.0, 90.0, 130.0})
        benchmark::RegisterBenchmark(("StartUp/seek-" + std::to_string(int(seconds))).c_str(),
                                     [seconds](benchmark::State& state) { SeekStart(state, seconds); })
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(3);
    Register("archive", Volume::InArchive);
    Register("bake", Volume::Baked);
    Register("loose-file", Volume::FromLooseFile);
    return true;
}();

} // namespace
