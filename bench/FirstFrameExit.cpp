// Preloaded into the player by the start-up benchmark (LD_PRELOAD): the first buffer swap, which is
// the first presented frame, writes the monotonic clock's reading to the file QL_FIRST_FRAME_FILE
// names and ends the process there, so that the figure is the real player's start and nothing of
// what follows the first frame.
#include <dlfcn.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

struct SDL_Window;

extern "C" void SDL_GL_SwapWindow(SDL_Window* window)
{
    using Swap = void (*)(SDL_Window*);
    const auto swap = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "SDL_GL_SwapWindow"));
    if (!swap)
        _exit(3);
    swap(window);
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const char* path = std::getenv("QL_FIRST_FRAME_FILE");
    FILE* out = path ? std::fopen(path, "w") : nullptr;
    if (!out)
        _exit(4);
    std::fprintf(out, "%lld %ld\n", static_cast<long long>(now.tv_sec), now.tv_nsec);
    _exit(std::fclose(out) == 0 ? 0 : 4);
}
