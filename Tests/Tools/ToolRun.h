// Runs a data tool as the build runs it, in the test's working directory, and keeps what it
// printed.
#pragma once

#include <string>
#include <vector>

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

ToolRun Invoke(const std::string& tool, const std::vector<std::string>& args);

std::string ReadText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);
