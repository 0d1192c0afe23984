#include "Framework/SceneHandler/SceneTimeline.h"

#include "Framework/FileSys/FileSys.h"
#include "Framework/FrameworkEx.h"

#include <cmath>
#include <cstdlib>

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads "<float> <word>" at text[i..size) the way a "%f %s" scan does: white space, line ends
// included, is skipped before each value. Never reads at or past size.
bool ScanEntry(const std::string& text, size_t i, float& time, std::string& name)
{
    const size_t size = text.size();
    while (i < size && IsSpace(text[i]))
        ++i;
    if (i >= size)
        return false;
    const char* begin = text.c_str() + i; // the string's terminator stops strtof at the end
    char* end = nullptr;
    time = std::strtof(begin, &end);
    if (end == begin || !std::isfinite(time)) // a time that orders nothing is no entry
        return false;
    i += static_cast<size_t>(end - begin);
    while (i < size && IsSpace(text[i]))
        ++i;
    const size_t wordStart = i;
    while (i < size && !IsSpace(text[i]) && text[i] != '\0')
        ++i;
    if (i == wordStart)
        return false;
    name.assign(text, wordStart, i - wordStart);
    return true;
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
    for (size_t i = 0; i < size;) {
        float time = 0.0f;
        std::string name;
        if (ScanEntry(text, i, time, name))
            InsertEntry(time, name);
        const size_t lineEnd = text.find('\n', i);
        i = lineEnd == std::string::npos ? size : lineEnd + 1;
    }
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
