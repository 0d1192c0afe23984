// Which calls the Recorder fails, and with which code: the call with a given number of one
// operation, or that call and every later one. Calls are numbered per operation from 0, over the
// Recorder's whole life.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "Platform/Gfx/Op.h"

class FailurePlan {
public:
    // Both throw std::invalid_argument for a code that is not a failure or an operation that
    // reports no HRESULT.
    void FailCall(Op op, size_t index, HRESULT code);
    void FailCallsFrom(Op op, size_t first, HRESULT code);
    void Clear();

    // The code planned for that call; the rule added last wins.
    std::optional<HRESULT> FailureFor(Op op, size_t index) const;

private:
    struct Rule {
        Op op;
        size_t first;
        std::optional<size_t> last;
        HRESULT code;
    };

    void Add(const char* method, Rule rule);

    std::vector<Rule> rules_;
};
