#include "Framework/SceneHandler/SceneTimeline.h"

#include "Framework/FileSys/FileSys.h"
#include "Framework/FrameworkEx.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// White space is skipped from each line's start, and a run of blank lines would be skipped again
// from every line in it: the end of the last run found is kept, so each run is walked once.
class SpaceSkipper {
public:
    explicit SpaceSkipper(const std::string& text) : text(text) {}

    // The first character at or after i that is no white space (the text's size if none is).
    size_t From(size_t i)
    {
        if (i >= runStart && i <= runEnd)
            return runEnd;
        runStart = i;
        while (i < text.size() && IsSpace(text[i]))
            ++i;
        runEnd = i;
        return runEnd;
    }

private:
    const std::string& text;
    size_t runStart = 1, runEnd = 0; // no run yet
};

// Reads "<float> <word>" at text[i..size) the way a "%f %s" scan does once white space is
// skipped: white space, line ends included, separates the values. Never reads at or past size.
bool ScanEntry(const std::string& text, size_t i, SpaceSkipper& spaces, TimelineEntry& entry)
{
    const size_t size = text.size();
    if (i >= size)
        return false;
    const char* begin = text.c_str() + i; // the string's terminator stops strtof at the end
    char* end = nullptr;
    entry.time = std::strtof(begin, &end);
    if (end == begin || !std::isfinite(entry.time)) // a time that orders nothing is no entry
        return false;
    i = spaces.From(i + static_cast<size_t>(end - begin));
    const size_t wordStart = i;
    while (i < size && !IsSpace(text[i]) && text[i] != '\0')
        ++i;
    if (i == wordStart)
        return false;
    entry.sceneName.assign(text, wordStart, i - wordStart);
    return true;
}

// A key whose unsigned order is the times' order, equal exactly where the times compare equal
// (0 and -0 share one key).
uint32_t OrderKey(float time)
{
    const uint32_t bits = std::bit_cast<uint32_t>(time == 0.0f ? 0.0f : time);
    return (bits & 0x80000000u) ? ~bits : bits | 0x80000000u;
}

// The entries in ascending time, lines of equal time in their own order: a stable radix sort,
// a byte of the key per pass, so that a hostile file of a million entries costs linear time.
std::vector<TimelineEntry> OrderedByTime(std::vector<TimelineEntry> read)
{
    if (read.size() < 2)
        return read;
    std::vector<std::pair<uint32_t, size_t>> keys(read.size()), spare(read.size());
    for (size_t i = 0; i < read.size(); ++i)
        keys[i] = {OrderKey(read[i].time), i};
    for (int shift = 0; shift < 32; shift += 8) {
        std::array<size_t, 257> start{};
        for (const auto& key : keys)
            ++start[((key.first >> shift) & 0xFFu) + 1];
        if (start[((keys[0].first >> shift) & 0xFFu) + 1] == keys.size())
            continue; // every key has this byte: the pass would change nothing
        for (size_t b = 1; b < start.size(); ++b)
            start[b] += start[b - 1];
        for (const auto& key : keys)
            spare[start[(key.first >> shift) & 0xFFu]++] = key;
        keys.swap(spare);
    }
    std::vector<TimelineEntry> ordered;
    ordered.reserve(read.size());
    for (const auto& key : keys)
        ordered.push_back(std::move(read[key.second]));
    return ordered;
}

} // namespace

void SceneTimeline::LoadTimeline()
{
    entries.clear();
    cursor = 0;
    const std::string path = Directory + FileName;
    const auto contents = FileSys::Instance()->ReadAll(path);
    if (!contents)
        throw FrameworkEx("No script file found: \"" + path + "\"");
    ParseTimeline(reinterpret_cast<const char*>(contents->data()), contents->size(), path);
}

void SceneTimeline::ParseTimeline(const char* data, size_t size, const std::string& path)
{
    entries.clear();
    cursor = 0;
    const std::string text(data, size);
    SpaceSkipper spaces(text);
    // Entries in the order of their lines. Lines whose scan starts at the same character (blank
    // lines before an entry, and that entry's own line) read the same entry: it counts once.
    std::vector<TimelineEntry> read;
    size_t lastStart = std::string::npos;
    for (size_t i = 0; i < size;) {
        const size_t start = spaces.From(i);
        if (start != lastStart) {
            lastStart = start;
            TimelineEntry entry;
            if (ScanEntry(text, start, spaces, entry))
                read.push_back(std::move(entry));
        }
        const size_t lineEnd = text.find('\n', i);
        i = lineEnd == std::string::npos ? size : lineEnd + 1;
    }
    // What inserting line by line gives (InsertEntry): ascending time, and of lines with the same
    // time the first one.
    for (TimelineEntry& entry : OrderedByTime(std::move(read)))
        if (entries.empty() || entries.back().time != entry.time)
            entries.push_back(std::move(entry));
    lastIndex = -1000;
    if (entries.empty())
        throw FrameworkEx("[SceneTimeline::LoadTimeline]: No entry (seconds and scene name) found in \"" + path + "\"");
}

int SceneTimeline::FindEntry(float t)
{
    if (entries.empty())
        return -1;
    int i = cursor;
    if (t >= entries[i].time) {
        while (i + 1 < static_cast<int>(entries.size()) && t >= entries[i + 1].time)
            ++i;
        cursor = i;
    } else {
        while (cursor > 0) {
            --cursor;
            if (t >= entries[cursor].time)
                break;
        }
    }
    return cursor;
}

bool SceneTimeline::CheckChange(float t, std::string& sceneName)
{
    const int index = FindEntry(t);
    if (index == lastIndex || index < 0)
        return false;
    lastIndex = index;
    sceneName = entries[index].sceneName;
    return true;
}

bool SceneTimeline::InsertEntry(float t, const std::string& sceneName)
{
    const int index = FindEntry(t);
    if (index >= 0 && entries[index].time == t)
        return false;
    const bool atFront = index < 0 || t < entries[0].time;
    entries.insert(entries.begin() + (atFront ? 0 : index + 1), TimelineEntry{t, sceneName});
    cursor = 0;
    return true;
}
