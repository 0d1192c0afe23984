// Preloaded into the player by the real-time show benchmark (LD_PRELOAD): every buffer swap, which
// is a presented frame, appends the monotonic clock's reading in seconds to the file
// QL_FRAME_TIMES_FILE names. The player runs as a user runs it; nothing else changes.
#include <dlfcn.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

struct SDL_Window;

extern "C" void SDL_GL_SwapWindow(SDL_Window* window)
{
    using Swap = void (*)(SDL_Window*);
    static const auto swap = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "SDL_GL_SwapWindow"));
    static FILE* out = [] {
        const char* path = std::getenv("QL_FRAME_TIMES_FILE");
        return path ? std::fopen(path, "w") : nullptr;
    }();
    if (!swap || !out)
        _exit(4);
    swap(window);
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::fprintf(out, "%.9f\n", double(now.tv_sec) + double(now.tv_nsec) * 1e-9);
    std::fflush(out);
}
