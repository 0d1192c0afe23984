// What tells the seven part scenes apart: their scene file, the three spot lights their particles
// come from, the background, the overlay and the particles' colours.
#pragma once

#include "Modules/ParticleField/ParticleField.h"

#include <array>
#include <string>
#include <vector>

struct PartSceneData {
    enum class Overlay { None, BeforeFade, Last };

    std::string name;
    std::string sceneFile;
    std::array<std::string, 3> emitters;
    bool ramp;
    Overlay overlay;
    ParticleColours colours;
    // The intro creates the particle field and registers the effects the whole family draws with.
    bool intro = false;
};

// The intro, Part1 .. Part5 and the end, in the timeline's order.
const std::vector<PartSceneData>& PartScenes();
