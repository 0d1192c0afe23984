// Everything the show carries from one simulation step to the next, copied out of the modules and
// scenes and put back: the particle field, the box swarm, the screen filter's rectangles, the
// scroller's one-shot recolouring, the shared generator's position and the step count. Putting a
// state back and drawing gives the picture a run from 0 draws at that step's time.
#pragma once

#include "Modules/EasiestFilterEver/EasiestFilterEver.h"
#include "Modules/ParticleField/ParticleField.h"

#include <array>
#include <cstdint>
#include <vector>

struct ShowState {
    int64_t steps = 0;
    uint32_t randomState = 0;

    int32_t fieldCount = 0;
    std::vector<D3DXVECTOR3> fieldPositions, fieldVelocities;
    float fieldSpawnTimer = 0.0f;
    int fieldEmitterCursor = 0;
    ParticleColours fieldColours{};

    std::vector<D3DXVECTOR3> dancePositions, danceVelocities;

    std::array<FilterRect, EasiestFilterEver::RectCount> filterRects{};
    float filterRespawnTimer = 0.0f;
    int filterRespawnCursor = 0;

    bool recoloured = false;

    // The show time the state stands at.
    double Seconds() const;
    // Exact: every value bit for bit (NaN equals the same NaN).
    bool operator==(const ShowState& other) const;
    // Bytes held, for the cache's budget.
    size_t Bytes() const;
};

// The state of the show the framework runs now (its modules loaded).
ShowState CaptureShowState();
// Puts the state in place: the modules and scenes take it, the generator is set to its position,
// the scene handler to its step and the scene of its time (started as the timeline would).
// The sprites receive the positions at the next steps; the next drawn frame follows the clock.
void RestoreShowState(const ShowState& state);
