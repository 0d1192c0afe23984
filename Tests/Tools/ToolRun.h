// Runs a data tool as the build runs it, in the test's working directory, and keeps what it
// printed.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// With fileSizeLimit, the tool runs under that limit on the size of every file it writes (as
// "ulimit -f" sets it), which it meets as it would a full disk.
ToolRun Invoke(const std::string& tool, const std::vector<std::string>& args,
               std::optional<size_t> fileSizeLimit = std::nullopt);

std::string ReadText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);
