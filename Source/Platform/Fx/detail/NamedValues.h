// Keyword tables of the effect language: state names and the names of their values, matched
// without regard to case as Direct3D effect files are.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace fx::detail {

struct NamedValue {
    std::string_view name;
    uint32_t value;
};

bool SameWordIgnoringCase(std::string_view a, std::string_view b);
std::string LowerCase(std::string_view word);
std::optional<uint32_t> FindValue(std::span<const NamedValue> table, std::string_view name);
bool HoldsValue(std::span<const NamedValue> table, uint32_t value);
// "A, B or C", for messages that say what was expected.
std::string ListNames(std::span<const NamedValue> table);

} // namespace fx::detail
