// Progress of a long offline run on standard error: frames done of the total, the share done,
// frames a second and the time left. On a terminal one line is redrawn in place; elsewhere (a log,
// a pipe) a line is written every few seconds, and one at the end.
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

class Progress {
public:
    // Seconds from any fixed point; the steady clock unless a test gives its own.
    using Clock = std::function<double()>;
    static constexpr double TerminalInterval = 0.25;
    static constexpr double PlainInterval = 5.0;

    Progress(std::ostream& out, bool terminal, std::string label, int64_t total, Clock clock = {});

    // Reports that done frames of the total are done, if it is time to.
    void Update(int64_t done);
    // The last report, and the end of the line on a terminal.
    void Finish(int64_t done);

    // "capture: 120 of 8100 frames (1.5%), 12.3 frames/s, 10:48 left".
    std::string Line(int64_t done) const;

private:
    void Write(int64_t done);

    std::ostream& out;
    bool terminal;
    std::string label;
    int64_t total;
    Clock clock;
    double started;
    double lastWritten;
    size_t lastLength = 0;
    int64_t lastDone = -1;
};
