// In the maker's mode, the first draws of each scene done early. Mesa's rasteriser builds a shader
// variant at the first draw that needs it, and a scene's first frame in a run costs a second or
// more for that: the first jump into every scene would wait that long. So after the first frame,
// each scene not yet shown is drawn unshown at two times of its timeline entry, one a frame, by a
// jump there and back: the jump back lands on the state a run from 0 has, as every jump does, so
// the show goes on as it would have.
#pragma once

#include <cstddef>
#include <set>
#include <vector>

class DXFramework;
class Scene;

class SceneWarmUp {
public:
    explicit SceneWarmUp(DXFramework& framework) : framework(framework) {}

    // Once per frame, before it is drawn at the clock as it stands, from the second frame on (the
    // first is shown as soon as it can be): draws one scene at one of its times, unless the show
    // is off its true course (a seek would put it back on) or no state near that time is kept yet
    // (then it tries again next frame). True when it drew one.
    bool BeforeFrame();
    // Every scene the timeline names has been drawn at its times, or shown.
    bool Done() const { return planned && next >= times.size(); }

    // The times a scene is drawn at in its timeline entry: just after its start, where jumps to a
    // scene's start land and its flash and cards show, and well into it, where the entries that
    // fade to white run their bloom.
    static constexpr double AfterStart = 0.05;
    static constexpr double ShareIntoEntry = 0.6;

private:
    struct Time {
        const Scene* scene = nullptr;
        double seconds = 0.0;
    };
    void Plan();

    DXFramework& framework;
    bool firstFrameShown = false;
    bool planned = false;
    std::vector<Time> times;
    size_t next = 0;
    std::set<const Scene*> shown;
};
