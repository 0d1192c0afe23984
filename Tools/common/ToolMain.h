// What every data tool shares on its command line: "--help", the exit codes, and how a fault
// reaches the user (one line on standard error naming the file and what is wrong).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace ExitCode {
constexpr int Success = 0;
constexpr int BadInput = 1;
constexpr int Usage = 2;
} // namespace ExitCode

// A file that cannot be read or written, or does not hold what it should. The message names the
// file (and the line where there is one).
struct InputError {
    std::string message;
};

// Throws the InputError "path: fault".
[[noreturn]] void RefuseFile(const std::string& path, const std::string& fault);

// A command line the tool does not understand.
struct UsageError {
    std::string message;
};

struct ToolInfo {
    std::string name;
    std::string help; // printed for "--help"; starts with the usage lines
};

// Runs body with the arguments after the program name and turns its failures into the exit
// codes above. "--help" anywhere before "--" prints the help instead.
int RunTool(const ToolInfo& tool, int argc, char** argv,
            const std::function<void(const std::vector<std::string>&)>& body);
