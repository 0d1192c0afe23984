#include "Demo/TimeControl/PreparedShowStates.h"

#include "Demo/TimeControl/ShowStateFile.h"
#include "Demo/TimeControl/StatePreparation.h"
#include "Framework/DXFramework.h"
#include "Framework/FileSys/AtomicFile.h"
#include "Framework/FrameworkEx.h"
#include "Framework/SceneHandler/Scene.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Framework/SceneHandler/SceneTimeline.h"
#include "Framework/Timer/Timer.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ext/stdio_filebuf.h>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// The descriptor on which the preparing process writes (0 to 2 are its own standard streams).
constexpr int PreparerDescriptor = 3;

void Warn(const std::string& message)
{
    std::fprintf(stderr, "quiet-lantern: %s\n", message.c_str());
}

} // namespace

PreparedShowStates::PreparedShowStates(DXFramework& framework, std::string preparer, std::string archive)
    : framework(framework), preparer(std::move(preparer)), archive(std::move(archive))
{
}

PreparedShowStates::~PreparedShowStates()
{
    // A preparation still running goes on alone and writes the cache file for the next run; the
    // thread, holding its own share of the cache, ends with the process.
    if (worker.joinable())
        worker.detach();
}

std::string PreparedShowStates::CacheFileFor(const std::string& program, const std::string& archive)
{
    const char* home = std::getenv("HOME");
    const char* cacheHome = std::getenv("XDG_CACHE_HOME");
    const std::filesystem::path folder = cacheHome && *cacheHome ? std::filesystem::path(cacheHome)
                                         : home && *home         ? std::filesystem::path(home) / ".cache"
                                                                 : std::filesystem::path();
    if (folder.empty())
        return {};
    std::ostringstream name;
    name << "states-" << std::hex << std::setw(16) << std::setfill('0')
         << showstates::HashFile(archive, showstates::HashFile(program, 0)) << ".bin";
    return (folder / "quiet-lantern" / name.str()).string();
}

void PreparedShowStates::Loaded()
{
    cache->Store(CaptureShowState());
    lastKeptSecond = 0;
    if (preparer.empty() && archive.empty())
        cache->EndPreparation();
    else
        worker = std::thread([cache = cache, preparer = preparer, archive = archive] { Prepare(cache, preparer, archive); });
}

void PreparedShowStates::Prepare(const std::shared_ptr<StateCache>& cache, const std::string& preparer,
                                 const std::string& archive)
{
    // Off the main thread: hashing the program and the archive takes a tenth of a second.
    std::string cacheFile;
    bool loaded = false;
    try {
        if (!archive.empty() && !preparer.empty())
            cacheFile = CacheFileFor(preparer, archive);
        loaded = LoadCacheFile(*cache, cacheFile);
    } catch (const FrameworkEx& error) {
        Warn("the show's states are prepared again: " + error.message);
    } catch (const std::exception& error) {
        Warn(std::string("the show's states are prepared again: ") + error.what());
    }
    try {
        if (!loaded && !preparer.empty())
            RunPreparer(*cache, preparer, cacheFile);
    } catch (const FrameworkEx& error) {
        Warn("the show's states: " + error.message);
    } catch (const std::exception& error) {
        Warn(std::string("the show's states: ") + error.what());
    }
    cache->EndPreparation();
}

bool PreparedShowStates::LoadCacheFile(StateCache& cache, const std::string& cacheFile)
{
    if (cacheFile.empty() || !std::filesystem::exists(cacheFile))
        return false;
    std::ifstream in(cacheFile, std::ios::binary);
    showstates::ReadHeader(in, cacheFile);
    // Each kept as it is read, so that a seek early in the show need not wait for the whole file;
    // those before a fault in it are as good as the preparation's own.
    while (std::optional<ShowState> state = showstates::ReadState(in, cacheFile))
        cache.StorePrepared(std::move(*state));
    return true;
}

void PreparedShowStates::RunPreparer(StateCache& cache, const std::string& preparer, const std::string& cacheFile)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        throw FrameworkEx("cannot open a pipe to the preparing process");
    // The read end closed first: in a process with few files open it may itself be the descriptor
    // the writing end goes to.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], PreparerDescriptor);
    if (pipeEnds[1] != PreparerDescriptor)
        posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);
    const std::string descriptor = std::to_string(PreparerDescriptor);
    std::vector<char*> arguments = {const_cast<char*>(preparer.c_str()), const_cast<char*>(PrepareStatesOption.c_str()),
                                    const_cast<char*>(descriptor.c_str())};
    if (!cacheFile.empty())
        arguments.push_back(const_cast<char*>(cacheFile.c_str()));
    arguments.push_back(nullptr);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, preparer.c_str(), &actions, nullptr, arguments.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (failed != 0) {
        close(pipeEnds[0]);
        throw FrameworkEx(preparer + ": cannot start the preparing process");
    }

    std::string fault;
    {
        __gnu_cxx::stdio_filebuf<char> buffer(pipeEnds[0], std::ios::in | std::ios::binary);
        std::istream in(&buffer);
        try {
            showstates::ReadHeader(in, "the preparing process");
            while (std::optional<ShowState> state = showstates::ReadState(in, "the preparing process"))
                cache.StorePrepared(std::move(*state));
        } catch (const FrameworkEx& error) {
            fault = error.message;
        }
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (!fault.empty())
        throw FrameworkEx(fault);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw FrameworkEx("the preparing process ended without all of them");
}

bool PreparedShowStates::SeekTo(double seconds, bool mayWait)
{
    SceneHandler& scenes = *SceneHandler::Instance();
    const int64_t target = std::max<int64_t>(SceneHandler::StepsAt(seconds), 0);
    const int64_t from = std::max<int64_t>(target - std::max(RingSteps, TrailSteps), 0);
    if (mayWait)
        cache->WaitForState(from, CatchUpSteps, std::chrono::hours(1));
    int64_t current = scenes.StepsTaken();
    // The show on its course before the time goes on from where it is, unless a kept state is nearer.
    const bool onCourse = scenes.OnTrueCourse() && current <= target;
    const std::optional<ShowState> state = cache->LatestAtOrBefore(from);
    bool restored = false;
    if (!onCourse || (state && state->steps > current)) {
        if (!state || (!mayWait && from - state->steps > CatchUpSteps))
            return false;
        RestoreShowState(*state);
        current = state->steps;
        restored = true;
    } else if (!mayWait && target - current > CatchUpSteps) {
        return false;
    }

    // Undrawn frames up to the step before the target, the last ones a step apart as a 60-frames
    // run plays them; the frame the player draws next takes the target's step.
    const int64_t bound = scenes.MostStepsPerUpdate();
    scenes.SetMostStepsPerUpdate(0);
    // A scene that draws over its last picture draws its last frames, for the trails they leave.
    // The first of them seeds the trails when the picture there is not the show's own (a state
    // was put back, or frames before were never drawn) and the scene drew frames before it.
    SceneTimeline& timeline = scenes.GetTimeline();
    const bool seed = (restored || current < from) && from > 0 &&
                      timeline.FindEntry(static_cast<float>(SceneHandler::StepTime(from - 1))) ==
                          timeline.FindEntry(static_cast<float>(SceneHandler::StepTime(from)));
    // Frames of an earlier entry leave nothing the target's entry draws over.
    const int targetEntry = timeline.FindEntry(static_cast<float>(SceneHandler::StepTime(target)));
    for (int64_t step = std::max(from, current); step < target; ++step) {
        Timer::SetFrameClock(SceneHandler::StepTime(step), SceneHandler::StepSeconds);
        const Scene* scene = scenes.GetCurrentScene();
        if (step >= target - TrailSteps && scene && scene->DrawsOverLastPicture() &&
            timeline.FindEntry(static_cast<float>(SceneHandler::StepTime(step))) == targetEntry)
            framework.StepFrameUnshown(step == from && seed               ? &Scene::SeedTrails
                                       : step >= target - WholeTrailSteps ? &Scene::Render
                                                                          : &Scene::RenderTrails);
        else
            framework.StepFrameUndrawn();
    }
    scenes.SetMostStepsPerUpdate(bound);
    return true;
}

void PreparedShowStates::InvalidateFrom(double seconds)
{
    cache->InvalidateFrom(seconds);
    // The show keeps the states it passes from here on again.
    lastKeptSecond = std::min(lastKeptSecond, SceneHandler::StepsAt(seconds) / static_cast<int64_t>(SceneHandler::StepsPerSecond) - 1);
    // Steps taken past that time went by the old files: the show is off its course, and keeps no
    // state, until a seek puts a true one back.
    if (SceneHandler::Instance()->StepsTaken() > SceneHandler::StepsAt(seconds))
        SceneHandler::Instance()->LeaveTrueCourse();
}

void PreparedShowStates::FramePlayed()
{
    const SceneHandler& scenes = *SceneHandler::Instance();
    const int64_t second = scenes.StepsTaken() / static_cast<int64_t>(SceneHandler::StepsPerSecond);
    if (!scenes.OnTrueCourse() || second == lastKeptSecond)
        return;
    lastKeptSecond = second;
    cache->Store(CaptureShowState());
}
