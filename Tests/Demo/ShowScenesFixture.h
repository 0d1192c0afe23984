// The show's own assembly on the Recorder over a small archive: the real timeline, the real
// post-processing effect, stand-ins for the scenes' effects (every technique the scenes ask for,
// every parameter they set), one triangle for every mesh and scene files with the cameras and
// emitters the scenes look up. Frames run as the main loop runs them, so the timeline switches
// scenes, and each frame's draws can be read back.
#pragma once

#include "Support/DXEffectFixture.h"

#include "Platform/Gfx/Recorder/EffectDrawLog.h"
#include "sync/trackfile.h"

#include <string>
#include <vector>

class ShowScenesFixture : public DXEffectFixture {
protected:
    void TearDown() override;

    // Writes the archive, with the given entries in place of the fixture's, and assembles and loads
    // the show up to its device resources.
    void Assemble(const ArchiveEntries& replaced = {}, const std::string& moreOptions = "");

    // One frame at the show time, after a clock step of delta seconds: the simulation's steps of
    // that delta (those before are skipped), the timeline's switch, the frame constants and the
    // current scene's Update and Render. Returns what its draws saw.
    std::vector<EffectPassSnapshot> Frame(double seconds, double delta = 1.0 / 60.0);
    static std::vector<std::string> Techniques(const std::vector<EffectPassSnapshot>& drawn);

    static std::vector<unsigned char> Track(const std::vector<TrackRecord>& records);
    // A track holding value from row 0 on.
    static std::vector<unsigned char> Constant(float value);
};
