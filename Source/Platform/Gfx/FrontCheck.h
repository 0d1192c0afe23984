// The front's checks as an enum, generated from FrontChecks.inc: a refused call names the check
// that refused it (IDirect3DDevice9::LastRefusal, the Recorder's Refused records, the message of a
// failed DEVICE_CALL).
#pragma once

#include <cstddef>
#include <iterator>

#include "Platform/Gfx/Result.h"

// The operation enum (Op.h); declared here so that the operation list can name it.
enum class Op : unsigned;

enum class FrontCheck : unsigned {
#define CHECK(identifier, result, text) identifier,
#include "Platform/Gfx/FrontChecks.inc"
#undef CHECK
};

namespace front_check_detail {

struct Entry {
    const char* name;
    HRESULT result;
    const char* text;
};

inline constexpr Entry kEntries[] = {
#define CHECK(identifier, result, text) {#identifier, result, text},
#include "Platform/Gfx/FrontChecks.inc"
#undef CHECK
};

} // namespace front_check_detail

constexpr size_t kFrontCheckCount = std::size(front_check_detail::kEntries);

// The identifier as written in FrontChecks.inc.
constexpr const char* FrontCheckName(FrontCheck check)
{
    return front_check_detail::kEntries[static_cast<size_t>(check)].name;
}

// What is wrong, in words.
constexpr const char* FrontCheckText(FrontCheck check)
{
    return front_check_detail::kEntries[static_cast<size_t>(check)].text;
}

// The code a call refused by the check answers.
constexpr HRESULT FrontCheckResult(FrontCheck check)
{
    return front_check_detail::kEntries[static_cast<size_t>(check)].result;
}
