// The synthesiser's one failure type: a message that already names the file (and line) at fault.
#pragma once

#include <stdexcept>
#include <string>

namespace synth {

class SynthError : public std::runtime_error {
public:
    explicit SynthError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace synth
