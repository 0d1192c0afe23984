#include "ToolMain.h"

#include "Framework/FrameworkEx.h"

#include <algorithm>
#include <csignal>
#include <exception>
#include <iostream>

namespace {

std::string WithoutTrailingNewlines(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

bool AsksForHelp(const std::vector<std::string>& args)
{
    const auto end = std::find(args.begin(), args.end(), "--");
    return std::find(args.begin(), end, "--help") != end;
}

} // namespace

void RefuseFile(const std::string& path, const std::string& fault)
{
    throw InputError{path + ": " + fault};
}

int RunTool(const ToolInfo& tool, int argc, char** argv,
            const std::function<void(const std::vector<std::string>&)>& body)
{
    // A write beyond the file size limit then fails like one on a full disk, and the output is
    // cleaned up, instead of the signal ending the tool with a half-written file left behind.
    std::signal(SIGXFSZ, SIG_IGN);
    const std::vector<std::string> args(argv + std::min(argc, 1), argv + argc);
    if (AsksForHelp(args)) {
        std::cout << tool.help;
        return ExitCode::Success;
    }
    // Anything else the tool or the framework raises is a fault of the input or of the file
    // system, never a silent success.
    const auto fail = [&](const std::string& message) {
        std::cerr << tool.name << ": " << WithoutTrailingNewlines(message) << "\n";
        return ExitCode::BadInput;
    };
    try {
        body(args);
        std::cout.flush();
        if (!std::cout)
            return fail("could not write to standard output");
        return ExitCode::Success;
    } catch (const UsageError& e) {
        std::cerr << tool.name << ": " << e.message << "\nTry '" << tool.name << " --help'.\n";
        return ExitCode::Usage;
    } catch (const InputError& e) {
        return fail(e.message);
    } catch (const FrameworkEx& e) {
        return fail(e.message);
    } catch (const std::exception& e) {
        return fail(e.what());
    }
}
