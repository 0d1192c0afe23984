// Runs a program and collects what it prints, for fxc's use of glslangValidator.
#pragma once

#include <string>
#include <vector>

struct ProcessResult {
    int exitCode = -1; // -1 when the program did not end normally
    std::string output; // standard output and standard error, interleaved as written
};

// argv[0] is the program, looked up in PATH when it holds no '/'. Throws InputError when the
// program cannot be started.
ProcessResult RunProcess(const std::vector<std::string>& argv);
