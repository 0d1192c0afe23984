#include "Subprocess.h"

#include "ToolMain.h"

#include <cerrno>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// Closes the descriptors it holds on every path out.
struct Pipe {
    int ends[2] = {-1, -1};
    ~Pipe()
    {
        for (const int end : ends)
            if (end >= 0)
                close(end);
    }
    void Close(int index)
    {
        close(ends[index]);
        ends[index] = -1;
    }
};

} // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv)
{
    std::vector<std::string> words = argv;
    std::vector<char*> pointers;
    for (std::string& word : words)
        pointers.push_back(word.data());
    pointers.push_back(nullptr);

    Pipe pipe;
    if (::pipe(pipe.ends) != 0)
        throw InputError{"cannot create a pipe: " + std::string(std::strerror(errno))};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, pipe.ends[0]);
    posix_spawn_file_actions_adddup2(&actions, pipe.ends[1], 1);
    posix_spawn_file_actions_adddup2(&actions, pipe.ends[1], 2);
    posix_spawn_file_actions_addclose(&actions, pipe.ends[1]);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, pointers[0], &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        throw InputError{"cannot run " + argv[0] + ": " + std::strerror(spawned)};
    pipe.Close(1);

    ProcessResult result;
    char buffer[4096];
    while (true) {
        const ssize_t count = read(pipe.ends[0], buffer, sizeof buffer);
        if (count > 0)
            result.output.append(buffer, static_cast<size_t>(count));
        else if (count == 0 || errno != EINTR)
            break;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}
