#include "PlayerProcess.h"

#include <spawn.h>
#include <sys/wait.h>
#include <time.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

extern char** environ;

std::string PlayerProgram()
{
    const char* other = std::getenv("QL_START_PLAYER");
    return other && *other ? other : QL_PLAYER;
}

PlayerFolder::PlayerFolder(const std::string& prefix, const std::filesystem::path& archive)
{
    std::string pattern = "/tmp/" + prefix + "-XXXXXX";
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("no working folder can be made");
    path = pattern;
    std::filesystem::copy_file(archive, path / "basefile.dat");
}

PlayerFolder::~PlayerFolder()
{
    std::error_code ignored; // a leftover temporary folder is no reason to fail a benchmark
    std::filesystem::remove_all(path, ignored);
}

PlayerExit RunPlayer(const std::filesystem::path& directory, std::vector<std::string> settings, const std::string& size,
                     const std::vector<std::string>& options)
{
    const size_t own = settings.size();
    for (char** variable = environ; *variable; ++variable) {
        const std::string setting = *variable;
        const std::string name = setting.substr(0, setting.find('=') + 1);
        if (std::none_of(settings.begin(), settings.begin() + own,
                         [&](const std::string& mine) { return mine.compare(0, name.size(), name) == 0; }))
            settings.push_back(setting);
    }
    std::vector<char*> environment;
    for (std::string& setting : settings)
        environment.push_back(setting.data());
    environment.push_back(nullptr);
    const std::string program = PlayerProgram();
    std::vector<std::string> words = {program, "--nosetup", "--windowed", "--size", size};
    words.insert(words.end(), options.begin(), options.end());
    std::vector<char*> arguments;
    for (std::string& word : words)
        arguments.push_back(word.data());
    arguments.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
    PlayerExit exit;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    exit.started = double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
    pid_t child = 0;
    const int failed = posix_spawn(&child, program.c_str(), &actions, nullptr, arguments.data(), environment.data());
    posix_spawn_file_actions_destroy(&actions);
    if (failed)
        throw std::runtime_error("cannot start " + program);
    wait4(child, &exit.status, 0, &exit.usage);
    return exit;
}
