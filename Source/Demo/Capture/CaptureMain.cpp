#include "Demo/Capture/CaptureMain.h"

#include "Demo/Capture/CaptureRun.h"
#include "Framework/FrameworkEx.h"
#include "Platform/Gfx/GL/CreateGLDirect3D.h"

#include <atomic>
#include <csignal>
#include <iostream>
#include <unistd.h>

namespace {

std::atomic<bool> interrupted{false};

extern "C" void Interrupt(int)
{
    interrupted = true;
}

int Report(const std::string& message, int status)
{
    std::cerr << "quiet-lantern: " << message << '\n';
    return status;
}

} // namespace

int CaptureMain(const std::vector<std::string>& words)
{
    CaptureOptions options;
    try {
        options = ParseCaptureOptions(words);
    } catch (const CaptureUsageError& error) {
        return Report(error.what(), 2);
    }
    interrupted = false;
    // Ctrl+C finishes what was made instead of leaving a broken file.
    std::signal(SIGINT, Interrupt);
    std::signal(SIGTERM, Interrupt);
    try {
        const int status = RunCapture(options, interrupted, std::cerr, isatty(STDERR_FILENO) != 0, GLDirect3DCreator());
        if (status == InterruptedExitCode)
            Report("interrupted; what was made is kept", status);
        return status;
    } catch (const FrameworkEx& error) {
        return Report(error.message, 1);
    } catch (const std::exception& error) {
        return Report(error.what(), 1);
    }
}
