// The player run as a user starts it, for the benchmarks that time it from outside: in a working
// directory of its own, "--nosetup --windowed --size WxH" and the options given, with the settings
// given in place of this process's own of the same names.
#pragma once

#include <sys/resource.h>

#include <filesystem>
#include <string>
#include <vector>

// QL_START_PLAYER, to time another build's player, or this build's.
std::string PlayerProgram();

struct PlayerExit {
    double started = 0.0; // CLOCK_MONOTONIC seconds just before the player was spawned
    int status = 0;       // as waitpid gives it
    rusage usage{};       // of the player, all threads
};

// A working folder of its own for the player, under /tmp, holding the archive as basefile.dat;
// removed with all it holds when done. std::runtime_error when it cannot be made.
class PlayerFolder {
public:
    PlayerFolder(const std::string& prefix, const std::filesystem::path& archive);
    ~PlayerFolder();
    PlayerFolder(const PlayerFolder&) = delete;
    PlayerFolder& operator=(const PlayerFolder&) = delete;

    const std::filesystem::path& Path() const { return path; }

private:
    std::filesystem::path path;
};

// Waits for the player to end; std::runtime_error when it cannot be started.
PlayerExit RunPlayer(const std::filesystem::path& directory, std::vector<std::string> settings, const std::string& size,
                     const std::vector<std::string>& options = {});
