#include "Platform/Gfx/Recorder/FailurePlan.h"

#include <stdexcept>
#include <string>

void FailurePlan::Add(const char* method, Rule rule)
{
    if (!OpReturnsResult(rule.op)) {
        throw std::invalid_argument(std::string("[FailurePlan::") + method + "]: " + OpName(rule.op) +
                                    " reports no HRESULT and cannot fail");
    }
    if (!FAILED(rule.code)) {
        throw std::invalid_argument(std::string("[FailurePlan::") + method + "]: the code for " + OpName(rule.op) +
                                    " is not a failure");
    }
    rules_.push_back(rule);
}

void FailurePlan::FailCall(Op op, size_t index, HRESULT code)
{
    Add("FailCall", {op, index, index, code});
}

void FailurePlan::FailCallsFrom(Op op, size_t first, HRESULT code)
{
    Add("FailCallsFrom", {op, first, std::nullopt, code});
}

void FailurePlan::Clear()
{
    rules_.clear();
}

std::optional<HRESULT> FailurePlan::FailureFor(Op op, size_t index) const
{
    for (auto rule = rules_.rbegin(); rule != rules_.rend(); ++rule) {
        if (rule->op == op && index >= rule->first && (!rule->last || index <= *rule->last)) {
            return rule->code;
        }
    }
    return std::nullopt;
}
