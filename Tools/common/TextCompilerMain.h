// The command line of the tools that compile a readable text form into a binary file of the show
// and back: "TOOL IN.txt -o OUT" and "TOOL --decompile IN -o OUT.txt".
#pragma once

#include "ToolMain.h"

#include <functional>
#include <string>
#include <vector>

struct TextCompiler {
    // The binary form of the text file at path.
    std::function<std::vector<unsigned char>(const std::string& path)> compile;
    // The text form of the binary bytes read from path.
    std::function<std::string(const std::string& path, const std::vector<unsigned char>& bytes)> decompile;
};

int RunTextCompiler(const ToolInfo& tool, int argc, char** argv, const TextCompiler& compiler);
