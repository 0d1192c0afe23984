#include "Platform/Fx/GlslLog.h"

#include <charconv>
#include <cstdint>
#include <optional>

namespace fx {

namespace {

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

std::optional<uint32_t> TakeNumber(std::string_view& text)
{
    uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc())
        return std::nullopt;
    text.remove_prefix(static_cast<size_t>(end - text.data()));
    return value;
}

bool TakePrefix(std::string_view& text, std::string_view prefix)
{
    if (text.substr(0, prefix.size()) != prefix)
        return false;
    text.remove_prefix(prefix.size());
    return true;
}

std::optional<GlslMessage> Locate(const std::vector<std::string>& files, std::string_view line)
{
    // glslangValidator puts the severity first; drivers put it after the place.
    std::string severity;
    if (TakePrefix(line, "ERROR: "))
        severity = "error: ";
    else if (TakePrefix(line, "WARNING: "))
        severity = "warning: ";
    const auto string = TakeNumber(line);
    if (!string || !TakePrefix(line, ":"))
        return std::nullopt;
    const auto number = TakeNumber(line);
    if (!number)
        return std::nullopt;
    if (TakePrefix(line, "(") && (!TakeNumber(line) || !TakePrefix(line, ")")))
        return std::nullopt;
    if (!TakePrefix(line, ":"))
        return std::nullopt;
    std::string place;
    if (*string == 0 || *string > files.size())
        place = (files.empty() ? std::string("effect") : files[0]) + " (generated GLSL, string " +
                std::to_string(*string) + " line " + std::to_string(*number) + ")";
    else
        place = files[*string - 1] + ":" + std::to_string(*number);
    return GlslMessage{true, place + ": " + severity + std::string(Trimmed(line))};
}

} // namespace

std::vector<GlslMessage> LocateGlslLog(const std::vector<std::string>& files, std::string_view log)
{
    std::vector<GlslMessage> messages;
    while (!log.empty()) {
        const size_t end = log.find('\n');
        const std::string_view line = Trimmed(log.substr(0, end));
        log.remove_prefix(end == std::string_view::npos ? log.size() : end + 1);
        if (line.empty())
            continue;
        if (auto located = Locate(files, line))
            messages.push_back(std::move(*located));
        else
            messages.push_back(GlslMessage{false, std::string(line)});
    }
    return messages;
}

} // namespace fx
