#include "Framework/EntryPoint.h"

#include "Framework/CommandLineQuoting.h"
#include "Framework/DXFramework.h"
#include "Framework/FrameworkEx.h"
#include "Framework/FrameworkSupportFailed.h"
#include "Platform/Window/MessageBox.h"

#include <cstdio>
#include <exception>
#include <memory>

namespace {

// The 23 characters after "Error: " of a failed call's message name its result code.
bool IsOutOfVideoMemory(const std::string& message)
{
    static const std::string code = "D3DERR_OUTOFVIDEOMEMORY";
    return message.size() >= 7 + code.size() && message.compare(7, code.size(), code) == 0;
}

// Messages raised while the framework is built have no box of their own: they go to standard
// error and to a box, and the run ends.
int ReportConstructionFailure(const std::string& message)
{
    std::fprintf(stderr, "%s\n", message.c_str());
    ShowMessageBox("Framework exception", message);
    return 1;
}

} // namespace

std::string CommandLineOf(int argc, char** argv)
{
    return JoinArguments(std::vector<std::string>(argv + 1, argv + argc));
}

int RunShow(HINSTANCE instance, const std::string& commandLine, const std::string& title,
            const ShowAssembly& assemble, const Direct3DCreator& createDirect3D)
{
    try {
        const LaunchOptions options = ParseLaunchOptions(commandLine);
        if (options.showHelp) {
            std::fputs(LaunchOptionsHelp("quiet-lantern").c_str(), stdout);
            return 0;
        }
        if (options.showVersion) {
            std::printf("quiet-lantern %s\n", QL_VERSION);
            return 0;
        }
    } catch (const FrameworkEx& e) {
        return ReportConstructionFailure(e.message);
    }

    std::unique_ptr<DXFramework> framework;
    try {
        framework = std::make_unique<DXFramework>(instance, commandLine, title, createDirect3D);
    } catch (const FrameworkEx& e) {
        return ReportConstructionFailure(e.message);
    } catch (const std::exception& e) {
        return ReportConstructionFailure(e.what());
    }

    try {
        assemble(*framework);
        framework->Run();
        framework.reset();
        return 0;
    } catch (const FrameworkSupportFailed& e) {
        framework->Shutdown();
        ShowMessageBox("Fuckings from your hardware", e.message);
    } catch (const FrameworkEx& e) {
        if (IsOutOfVideoMemory(e.message))
            ShowMessageBox("Out of video memory",
                           "Try reducing the number of multisamples, reduce resolution, or check the VRAM box.");
        else
            ShowMessageBox("Framework exception", e.message);
        framework->Shutdown();
    } catch (const std::exception& e) {
        framework->Shutdown();
        ShowMessageBox("std::exception caught in main()", e.what());
    } catch (...) {
        framework->Shutdown();
        ShowMessageBox("Exception caught in main()", "Unknown exception");
    }
    // Shut down already; destroying it as well frees every service, so nothing leaks at exit.
    framework.reset();
    return 1;
}
