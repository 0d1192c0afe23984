#include "Platform/Fx/detail/NamedValues.h"

#include <algorithm>
#include <cctype>

namespace fx::detail {

bool SameWordIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

std::string LowerCase(std::string_view word)
{
    std::string lower;
    for (const char c : word)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

std::optional<uint32_t> FindValue(std::span<const NamedValue> table, std::string_view name)
{
    for (const NamedValue& entry : table)
        if (SameWordIgnoringCase(entry.name, name))
            return entry.value;
    return std::nullopt;
}

bool HoldsValue(std::span<const NamedValue> table, uint32_t value)
{
    return std::any_of(table.begin(), table.end(), [value](const NamedValue& entry) { return entry.value == value; });
}

std::string ListNames(std::span<const NamedValue> table)
{
    std::string list;
    for (size_t i = 0; i < table.size(); ++i) {
        if (i > 0)
            list += i + 1 == table.size() ? " or " : ", ";
        list += table[i].name;
    }
    return list;
}

} // namespace fx::detail
