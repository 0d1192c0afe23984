#include "KeyText.h"

#include "ToolMain.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

bool IsBlank(char c)
{
    // '\r' counts as a blank so that files saved with CRLF line ends read the same.
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::vector<std::string> SplitFields(const std::string& line)
{
    std::vector<std::string> fields;
    const std::string text = line.substr(0, line.find('#'));
    size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && IsBlank(text[at]))
            ++at;
        const size_t start = at;
        while (at < text.size() && !IsBlank(text[at]))
            ++at;
        if (at > start)
            fields.push_back(text.substr(start, at - start));
    }
    return fields;
}

std::string JoinNames(const std::vector<std::string>& names)
{
    std::string joined;
    for (const std::string& name : names)
        joined += (joined.empty() ? "" : " ") + name;
    return joined;
}

} // namespace

KeyLine::KeyLine(std::string path, size_t number, std::vector<std::string> fields)
    : path(std::move(path)), number(number), fields(std::move(fields))
{
}

std::string KeyLine::Where() const
{
    return path + ":" + std::to_string(number);
}

void KeyLine::Fail(const std::string& fault) const
{
    RefuseFile(Where(), fault);
}

void KeyLine::ExpectFields(const std::vector<std::string>& names) const
{
    if (fields.size() != names.size())
        Fail("expected " + std::to_string(names.size()) + " fields (" + JoinNames(names) + "), found " +
             std::to_string(fields.size()));
}

float KeyLine::Float(size_t index, const std::string& what) const
{
    const std::string& text = fields.at(index);
    char* end = nullptr;
    const float value = std::strtof(text.c_str(), &end);
    if (end == text.c_str() || end != text.c_str() + text.size())
        Fail("bad " + what + " '" + text + "': expected a number");
    if (!std::isfinite(value))
        Fail("bad " + what + " '" + text + "': expected a finite number within the range of a float");
    return value;
}

uint32_t KeyLine::Unsigned(size_t index, const std::string& what) const
{
    const std::string& text = fields.at(index);
    const auto isDigits = [](const std::string& digits) {
        return !digits.empty() && digits.find_first_not_of("0123456789") == std::string::npos;
    };
    if (text[0] == '-' && isDigits(text.substr(1)))
        Fail(what + " " + text + " is negative");
    if (!isDigits(text))
        Fail("bad " + what + " '" + text + "': expected a whole number");
    const std::optional<uint32_t> value = ParseUint32(text);
    if (!value)
        Fail(what + " " + text + " is larger than " + std::to_string(UINT32_MAX));
    return *value;
}

std::string ReadKeyText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        RefuseFile(path, "cannot open the file");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        RefuseFile(path, "cannot read the file");
    return text;
}

std::vector<KeyLine> SplitKeyLines(const std::string& text, const std::string& path)
{
    std::vector<KeyLine> lines;
    size_t number = 1;
    for (size_t start = 0; start < text.size(); ++number) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::vector<std::string> fields = SplitFields(text.substr(start, end - start));
        if (!fields.empty())
            lines.emplace_back(path, number, std::move(fields));
        start = end + 1;
    }
    return lines;
}

std::optional<uint32_t> ParseUint32(const std::string& text)
{
    uint32_t value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || text[0] == '+' || text[0] == '-' || result.ec != std::errc() || result.ptr != end)
        return std::nullopt;
    return value;
}

std::string FormatFloat(float value)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}
