// In the maker's mode, the first draw of each scene done early. Mesa's rasteriser builds a shader
// variant at the first draw that needs it, and a scene's first frame in a run costs a second or
// more for that: the first jump into every scene would wait that long. So after the first frame,
// one scene not yet drawn each frame is drawn unshown, by a jump there and back: the jump back
// lands on the state a run from 0 has, as every jump does, so the show goes on as it would have.
#pragma once

#include <set>

class DXFramework;
class Scene;

class SceneWarmUp {
public:
    explicit SceneWarmUp(DXFramework& framework) : framework(framework) {}

    // Once per frame, before it is drawn at the clock as it stands, from the second frame on (the
    // first is shown as soon as it can be): draws one scene not yet drawn,
    // unless the show is off its true course (a seek would put it back on) or no state near the
    // scene's time is kept yet (then it tries again next frame). True when it drew one.
    bool BeforeFrame();
    // Every scene the timeline names has been drawn.
    bool Done() const;

    // Where in its timeline entry a scene is drawn: well into it, where the entries that fade to
    // white already run their bloom.
    static constexpr double ShareIntoEntry = 0.6;

private:
    DXFramework& framework;
    bool firstFrameShown = false;
    std::set<const Scene*> drawn;
};
