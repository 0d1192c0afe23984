// The timeline: which scene plays from which second, read from "Data\events\Scenes.txt".
#pragma once

#include <string>
#include <vector>

struct TimelineEntry {
    float time = 0.0f;
    std::string sceneName;
};

class SceneTimeline {
public:
    static inline const std::string FileName = "Scenes.txt";
    static inline const std::string Directory = "Data\\events\\";

    // Reads the timeline from the archive; raises FrameworkEx when the file is missing or empty
    // or holds no entry.
    void LoadTimeline();
    // Parses timeline text (one "seconds name" entry a line); path names the file in messages.
    void ParseTimeline(const char* text, size_t size, const std::string& path);

    // The last entry whose time is at most t (0 before the first one), or -1 when there are none.
    int FindEntry(float t);
    // True, with the entry's scene name, when the entry for t differs from the one last reported.
    bool CheckChange(float t, std::string& sceneName);
    // The next CheckChange reports the entry for its time, as after loading.
    void ForgetReported() { lastIndex = -1000; }
    // Inserts in time order; an entry whose time is already present is refused.
    bool InsertEntry(float t, const std::string& sceneName);

    const std::vector<TimelineEntry>& Entries() const { return entries; }

private:
    std::vector<TimelineEntry> entries;
    int cursor = 0;
    int lastIndex = -1000;
};
