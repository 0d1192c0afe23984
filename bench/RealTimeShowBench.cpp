// The whole show played in real time by the player itself, as a user starts it ("--nosetup
// --windowed --size 640x360", or the size QL_SHOW_SIZE gives, with SDL's offscreen video and dummy
// audio drivers) over the show's archive (QL_SHOW_ARCHIVE). A library preloaded into it
// (FrameTimes.cpp) notes the time of every presented frame. A frame's show time is its time since
// the first frame, when the show clock starts; the timeline in the archive names its scene. The
// report gives for each scene its frames a second, the median and 95th percentile of its frame
// times, and the share of the show's seconds that played 30 frames or more. QL_START_PLAYER plays
// another build's player instead, for figures before and after a change. Figures depend on what
// else the machine is doing.
#include <benchmark/benchmark.h>

#include "BenchDevice.h"
#include "BenchRun.h"
#include "PlayerProcess.h"

#include "Framework/FileSys/FileSys.h"
#include "Framework/SceneHandler/SceneTimeline.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr double ShowLength = 135.0;
constexpr int RealTimeRate = 30;

std::string Setting(const char* name, const char* fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? value : fallback;
}

// The frames' show times, from a run of the player in a working directory of its own.
std::vector<double> PlayShow(const std::string& archive, const std::string& size)
{
    const PlayerFolder directory("ql-realtime-bench", archive);
    const std::filesystem::path times = directory.Path() / "frame-times";

    std::vector<std::string> settings = {"LD_PRELOAD=" QL_FRAME_TIMES, "QL_FRAME_TIMES_FILE=" + times.string(),
                                         "SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=dummy"};
    const int status = RunPlayer(directory.Path(), std::move(settings), size).status;
    std::ifstream in(times);
    std::vector<double> frames;
    for (double t; in >> t;)
        frames.push_back(t);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(PlayerProgram() + " failed (status " + std::to_string(status) + ")");
    if (frames.size() < 2)
        throw std::runtime_error("the player presented fewer than two frames");
    const double first = frames.front();
    for (double& t : frames)
        t -= first;
    return frames;
}

SceneTimeline TimelineOf(const std::string& archive)
{
    const std::string name = "Data\\events\\Scenes.txt";
    const std::map<std::string, FileSys::Entry> directory = FileSys::ReadDirectory(archive);
    const auto found = directory.find(name);
    if (found == directory.end())
        throw std::runtime_error(archive + " has no " + name);
    std::vector<unsigned char> text(found->second.unpackedSize);
    FileSys::InflateEntry(archive, name, found->second, text.data());
    SceneTimeline timeline;
    timeline.ParseTimeline(reinterpret_cast<const char*>(text.data()), text.size(), name);
    return timeline;
}

double Percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t at = std::min(values.size() - 1, static_cast<size_t>(share * double(values.size() - 1) + 0.5));
    return values[at];
}

void RealTimeShow(benchmark::State& state)
{
    SkipOnFailure(state, [&] {
        const std::string archive = Setting("QL_SHOW_ARCHIVE", "");
        if (archive.empty() || !std::filesystem::exists(archive))
            throw BenchUnavailable("QL_SHOW_ARCHIVE names no show archive (the build's basefile.dat)");
        const std::string size = Setting("QL_SHOW_SIZE", "640x360");
        const std::vector<TimelineEntry> scenes = TimelineOf(archive).Entries();
        std::vector<double> frames;
        for (auto _ : state)
            frames = PlayShow(archive, size);

        // Frame times by the scene of the frame that ends them, frames by show second.
        std::vector<std::vector<double>> intervals(scenes.size());
        std::vector<int> perSecond(static_cast<size_t>(ShowLength), 0);
        for (size_t i = 0; i < frames.size(); ++i) {
            if (frames[i] < ShowLength)
                ++perSecond[static_cast<size_t>(frames[i])];
            const auto after = std::upper_bound(scenes.begin(), scenes.end(), frames[i],
                                                [](double t, const TimelineEntry& entry) { return t < entry.time; });
            if (i > 0 && after != scenes.begin())
                intervals[static_cast<size_t>(after - scenes.begin() - 1)].push_back(frames[i] - frames[i - 1]);
        }
        char line[160];
        std::cout << "\nThe show in real time at " << size << ":\n";
        std::snprintf(line, sizeof line, "  %-22s %8s %6s %8s %8s\n", "scene", "seconds", "fps", "median", "p95");
        std::cout << line;
        for (size_t s = 0; s < scenes.size(); ++s) {
            const double end = s + 1 < scenes.size() ? scenes[s + 1].time : ShowLength;
            const double seconds = end - scenes[s].time;
            if (seconds <= 0.0)
                continue;
            std::snprintf(line, sizeof line, "  %-22s %8.2f %6.1f %6.1fms %6.1fms\n", scenes[s].sceneName.c_str(),
                          seconds, double(intervals[s].size()) / seconds, Percentile(intervals[s], 0.5) * 1e3,
                          Percentile(intervals[s], 0.95) * 1e3);
            std::cout << line;
        }
        const auto realTime = std::count_if(perSecond.begin(), perSecond.end(), [](int n) { return n >= RealTimeRate; });
        const double share = double(realTime) / double(perSecond.size());
        std::cout << "  show seconds at " << RealTimeRate << " fps or more: " << realTime << " of " << perSecond.size()
                  << " (" << int(share * 100.0 + 0.5) << "%)\n";
        state.counters["frames"] = double(frames.size());
        state.counters["realtime_share"] = share;
    });
}

const bool registered = [] {
    benchmark::RegisterBenchmark("RealTimeShow", RealTimeShow)->Unit(benchmark::kSecond)->Iterations(1);
    return true;
}();

} // namespace
