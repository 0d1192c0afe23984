// The synthesiser's score: whatever the text, it is either refused with a message that starts with
// the file and a line inside the text, or read into a song whose positions and instruments the
// renderer can use.
#include "FuzzCheck.h"
#include "Score/ScoreParser.h"
#include "SynthError.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

constexpr size_t MaxInput = 64 * 1024;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > MaxInput)
        return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        synth::ParseScore(text, "fuzz.score");
    } catch (const synth::SynthError& e) {
        const std::string message = e.what();
        FuzzCheck(message.rfind("fuzz.score:", 0) == 0, "a fault names the file");
        const long line = std::strtol(message.c_str() + 11, nullptr, 10);
        const long lines = static_cast<long>(std::count(text.begin(), text.end(), '\n')) + 1;
        FuzzCheck(line >= 0 && line <= lines, "a fault names a line of the text (or none)");
    }
    return 0;
}
