#include "Platform/Fx/GlslLog.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

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

uint32_t LineCount(const std::string& text)
{
    return static_cast<uint32_t>(std::count(text.begin(), text.end(), '\n'));
}

// "S:L: text" (glslangValidator, after its severity) or "S:L(C): text" (Mesa); the source string
// S is not trusted, as Mesa reports 0 whatever #line says.
std::optional<GlslMessage> Locate(const std::vector<std::string>& files, const ShaderBlock& block, std::string_view line)
{
    std::string severity;
    if (TakePrefix(line, "ERROR: "))
        severity = "error: ";
    else if (TakePrefix(line, "WARNING: "))
        severity = "warning: ";
    if (!TakeNumber(line) || !TakePrefix(line, ":"))
        return std::nullopt;
    const auto number = TakeNumber(line);
    if (!number)
        return std::nullopt;
    if (TakePrefix(line, "(") && (!TakeNumber(line) || !TakePrefix(line, ")")))
        return std::nullopt;
    if (!TakePrefix(line, ":"))
        return std::nullopt;
    const auto source = SourceOfLine(block, *number);
    std::string place;
    if (source && source->file < files.size())
        place = files[source->file] + ":" + std::to_string(source->line);
    else
        place = (files.empty() ? std::string("effect") : files[0]) + " (glsl block " + block.name +
                ", generated line " + std::to_string(*number) + ")";
    return GlslMessage{true, place + ": " + severity + std::string(Trimmed(line))};
}

} // namespace

std::optional<SourceLocation> SourceOfLine(const ShaderBlock& block, uint32_t generatedLine)
{
    if (generatedLine > LineCount(block.source))
        return std::nullopt;
    const auto after = std::upper_bound(block.lines.begin(), block.lines.end(), generatedLine,
                                        [](uint32_t line, const LineSpan& span) { return line < span.firstLine; });
    if (after == block.lines.begin())
        return std::nullopt;
    const LineSpan& span = *std::prev(after);
    return SourceLocation{span.where.file, span.where.line + (generatedLine - span.firstLine)};
}

std::vector<GlslMessage> LocateGlslLog(const std::vector<std::string>& files, const ShaderBlock& block,
                                       std::string_view log)
{
    std::vector<GlslMessage> messages;
    while (!log.empty()) {
        const size_t end = log.find('\n');
        const std::string_view line = Trimmed(log.substr(0, end));
        log.remove_prefix(end == std::string_view::npos ? log.size() : end + 1);
        if (line.empty())
            continue;
        if (auto located = Locate(files, block, line))
            messages.push_back(std::move(*located));
        else
            messages.push_back(GlslMessage{false, std::string(line)});
    }
    return messages;
}

} // namespace fx
