#include "Demo/Capture/Progress.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace {

double SteadySeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string Duration(double seconds)
{
    const long whole = std::lround(std::max(seconds, 0.0));
    char text[32];
    if (whole >= 3600)
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", whole / 3600, whole / 60 % 60, whole % 60);
    else
        std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    return text;
}

} // namespace

Progress::Progress(std::ostream& out, bool terminal, std::string label, int64_t total, Clock clock)
    : out(out), terminal(terminal), label(std::move(label)), total(total),
      clock(clock ? std::move(clock) : Clock(SteadySeconds)), started(this->clock()), lastWritten(started)
{
}

std::string Progress::Line(int64_t done) const
{
    const double elapsed = clock() - started;
    const double rate = elapsed > 0.0 ? static_cast<double>(done) / elapsed : 0.0;
    const double share = total > 0 ? 100.0 * static_cast<double>(done) / static_cast<double>(total) : 100.0;
    char text[160];
    std::snprintf(text, sizeof text, "%s: %lld of %lld frames (%.1f%%), %.1f frames/s, ", label.c_str(),
                  static_cast<long long>(done), static_cast<long long>(total), share, rate);
    const std::string left = rate > 0.0 ? Duration(static_cast<double>(total - done) / rate) + " left" : "time left unknown";
    return text + left;
}

void Progress::Write(int64_t done)
{
    lastWritten = clock();
    lastDone = done;
    const std::string line = Line(done);
    if (terminal) {
        // Blanks over whatever a longer line before left behind.
        out << '\r' << line << std::string(lastLength > line.size() ? lastLength - line.size() : 0, ' ');
        lastLength = line.size();
    } else {
        out << line << '\n';
    }
    out.flush();
}

void Progress::Update(int64_t done)
{
    if (clock() - lastWritten >= (terminal ? TerminalInterval : PlainInterval))
        Write(done);
}

void Progress::Finish(int64_t done)
{
    // A log that has just said this much is not told again.
    if (terminal || done != lastDone)
        Write(done);
    if (terminal)
        out << '\n' << std::flush;
}
