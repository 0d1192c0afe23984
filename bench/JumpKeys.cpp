// Preloaded into the player by the jump benchmark (LD_PRELOAD), beside FrameTimes.cpp: presses the
// keys QL_JUMP_KEYS names (SDL key names, comma-separated) as a maker would, each once, the first
// QL_JUMP_KEYS_DELAY seconds after the player first polls its events and the others
// QL_JUMP_KEYS_EVERY seconds apart, then Escape. Each press's monotonic time goes to the file
// QL_JUMP_KEYS_FILE. The player runs as a user runs it; nothing else changes.
#include <SDL2/SDL.h>

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sstream>
#include <string>
#include <vector>

namespace {

double Now()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

double Seconds(const char* name, double fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? std::atof(value) : fallback;
}

template <typename Function>
Function Next(const char* name)
{
    const auto function = reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
    if (!function)
        _exit(4);
    return function;
}

struct Presses {
    std::vector<std::string> keys;
    size_t next = 0;
    bool upPending = false;
    SDL_Keycode pendingKey = 0;
    double firstPoll = 0.0;
    double delay = Seconds("QL_JUMP_KEYS_DELAY", 10.0);
    double every = Seconds("QL_JUMP_KEYS_EVERY", 1.5);
    FILE* out = nullptr;

    Presses()
    {
        std::istringstream names(std::getenv("QL_JUMP_KEYS") ? std::getenv("QL_JUMP_KEYS") : "");
        for (std::string name; std::getline(names, name, ',');)
            keys.push_back(name);
        keys.push_back("Escape");
        const char* path = std::getenv("QL_JUMP_KEYS_FILE");
        out = path ? std::fopen(path, "w") : nullptr;
        if (!out)
            _exit(4);
    }

    // The key event due now, if any: a press, then its release at the next poll.
    bool Due(SDL_Event* event)
    {
        const double now = Now();
        if (firstPoll == 0.0)
            firstPoll = now;
        if (!upPending && (next >= keys.size() || now < firstPoll + delay + double(next) * every))
            return false;
        static const auto keyFromName = Next<SDL_Keycode (*)(const char*)>("SDL_GetKeyFromName");
        static const auto currentWindow = Next<SDL_Window* (*)()>("SDL_GL_GetCurrentWindow");
        static const auto windowId = Next<Uint32 (*)(SDL_Window*)>("SDL_GetWindowID");
        SDL_Event key{};
        key.type = upPending ? SDL_KEYUP : SDL_KEYDOWN;
        key.key.state = upPending ? SDL_RELEASED : SDL_PRESSED;
        key.key.windowID = currentWindow() ? windowId(currentWindow()) : 0;
        key.key.keysym.sym = upPending ? pendingKey : keyFromName(keys[next].c_str());
        if (!upPending) {
            pendingKey = key.key.keysym.sym;
            std::fprintf(out, "%.9f %s\n", now, keys[next].c_str());
            std::fflush(out);
            ++next;
        }
        upPending = !upPending;
        *event = key;
        return true;
    }
};

} // namespace

extern "C" int SDL_PollEvent(SDL_Event* event)
{
    static const auto poll = Next<int (*)(SDL_Event*)>("SDL_PollEvent");
    static Presses presses;
    if (event && presses.Due(event))
        return 1;
    return poll(event);
}
