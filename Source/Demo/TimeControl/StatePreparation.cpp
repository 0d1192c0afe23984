#include "Demo/TimeControl/StatePreparation.h"

#include "Demo/ShowAssembly.h"
#include "Demo/TimeControl/ShowStateFile.h"
#include "Framework/DXFramework.h"
#include "Framework/FileSys/AtomicFile.h"
#include "Framework/FrameworkEx.h"
#include "Framework/SceneHandler/Scene.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Framework/Timer/Timer.h"

#include <csignal>
#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <ext/stdio_filebuf.h>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <unistd.h>

void PrepareStates(DXFramework& framework, const std::function<void(const ShowState&)>& sink, double endSeconds)
{
    sink(CaptureShowState());
    const SceneHandler& scenes = *SceneHandler::Instance();
    for (double seconds = 0.0;;) {
        // One frame a second: the scene handler takes the sixty steps, the frame's own work is done
        // once. Four a second where the scene draws over its last picture: a jump there also draws
        // frames, and the fewer steps it takes before them, the sooner it shows.
        const Scene* scene = scenes.GetCurrentScene();
        const double next = scene && scene->DrawsOverLastPicture() ? seconds + TrailSceneStateSeconds
                                                                   : std::floor(seconds) + 1.0;
        if (next >= endSeconds)
            break;
        Timer::SetFrameClock(next, next - seconds);
        framework.StepFrameUndrawn();
        sink(CaptureShowState());
        seconds = next;
    }
}

int PrepareStatesMain(const std::vector<std::string>& words, Direct3DCreator createDirect3D)
{
    char* end = nullptr;
    const long descriptor = words.size() >= 2 && words.size() <= 3 ? std::strtol(words[1].c_str(), &end, 10) : -1;
    if (descriptor < 3 || *end != '\0') {
        std::fprintf(stderr, "quiet-lantern: %s needs the descriptor to write to\n", PrepareStatesOption.c_str());
        return 2;
    }
    const std::string cacheFile = words.size() == 3 ? words[2] : std::string();
    // A reader that has gone only ends the stream; the cache file is still worth writing.
    std::signal(SIGPIPE, SIG_IGN);
    __gnu_cxx::stdio_filebuf<char> buffer(static_cast<int>(descriptor), std::ios::out | std::ios::binary);
    std::ostream out(&buffer);
    std::ostringstream all;
    try {
        // No window is shown and no sound played.
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        const auto framework = OpenShow("--nosetup --windowed --size 64x36", std::move(createDirect3D));
        showstates::WriteHeader(out);
        showstates::WriteHeader(all);
        PrepareStates(*framework, [&](const ShowState& state) {
            if (out) {
                showstates::WriteState(out, state);
                out.flush();
            }
            showstates::WriteState(all, state);
        });
        if (!cacheFile.empty()) {
            std::filesystem::create_directories(std::filesystem::path(cacheFile).parent_path());
            AtomicFile file(cacheFile);
            const std::string bytes = all.str();
            file.Write(bytes.data(), bytes.size());
            file.Commit();
        }
    } catch (const FrameworkEx& error) {
        std::fprintf(stderr, "quiet-lantern: preparing the show's states: %s\n", error.message.c_str());
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quiet-lantern: preparing the show's states: %s\n", error.what());
        return 1;
    }
    return 0;
}
