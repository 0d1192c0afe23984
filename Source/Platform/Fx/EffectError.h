// The failure of the effect layer: a source that does not parse, an include that cannot be read,
// compiled data that does not hold a valid effect. The framework turns it into its own message.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace fx {

class EffectError {
public:
    // line 0: the fault belongs to the file as a whole (compiled data has no lines).
    EffectError(std::string file, uint32_t line, std::string fault)
        : file(std::move(file)), line(line), fault(std::move(fault))
    {
    }

    // "file:line: fault", or "file: fault" without a line.
    std::string Message() const
    {
        return line == 0 ? file + ": " + fault : file + ":" + std::to_string(line) + ": " + fault;
    }

    std::string file;
    uint32_t line;
    std::string fault;
};

} // namespace fx
