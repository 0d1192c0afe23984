#include "ToolRun.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>

extern char** environ;

ToolRun Invoke(const std::string& tool, const std::vector<std::string>& args, std::optional<size_t> fileSizeLimit)
{
    std::vector<std::string> words{tool};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "tool-stdout.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, "tool-stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    // The child inherits the limit; this process writes nothing while it is lowered.
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    if (fileSizeLimit) {
        const rlimit lowered{rlim_t(*fileSizeLimit), previous.rlim_max};
        if (setrlimit(RLIMIT_FSIZE, &lowered) != 0)
            ADD_FAILURE() << "could not lower the file size limit";
    }
    const int spawned = posix_spawn(&pid, tool.c_str(), &actions, nullptr, argv.data(), environ);
    if (fileSizeLimit)
        setrlimit(RLIMIT_FSIZE, &previous);
    posix_spawn_file_actions_destroy(&actions);

    ToolRun run;
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid) {
        ADD_FAILURE() << "could not run " << tool;
        return run;
    }
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadText("tool-stdout.txt");
    run.err = ReadText("tool-stderr.txt");
    return run;
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}
