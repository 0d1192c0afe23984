// A cheap animated overlay: up to 20 rectangles drifting in screen-like coordinates, drawn as one
// sprite batch with whatever effect and technique the calling scene made active. Four sync tracks
// steer it: how many are drawn ("Filter_NumQuads"), their horizontal and vertical scale
// ("Filter_XSize", "Filter_YSize") and the seconds between replacing one with a fresh random one
// ("Filter_Wildness").
#pragma once

#include "Framework/ModuleHandler/DXModule.h"
#include "Framework/RenderClasses/Sprites/Sprites.h"

#include <array>
#include <memory>

class SyncTrack;

struct FilterRect {
    D3DXVECTOR3 position; // x, y in [-0.5, 0.5] at creation, z = 0
    D3DXVECTOR3 velocity; // per second; x, y in [-0.5, 0.5], z = 0
    D3DXVECTOR2 halfSize; // each in [0.1, 0.4]
};
static_assert(sizeof(FilterRect) == 32, "a rectangle record is 8 floats");

class EasiestFilterEver : public DXModule {
public:
    static constexpr unsigned RectCount = 20;
    static constexpr int RingSize = 2;

    explicit EasiestFilterEver(std::string name) : DXModule(std::move(name)) {}

    // Fetches the tracks, makes the sprites and fills every rectangle afresh.
    void Load() override;
    void Release() override;
    // One step of the drift at the show clock's row, by the last frame's duration.
    void Update() override;
    void Draw() override;

    // Fills a rectangle from six draws of the shared generator.
    static void NewRect(FilterRect& rect);

    std::unique_ptr<Sprites> sprites;
    SyncTrack* xSizeTrack = nullptr;
    SyncTrack* ySizeTrack = nullptr;
    SyncTrack* numQuadsTrack = nullptr;
    SyncTrack* wildnessTrack = nullptr;
    std::unique_ptr<std::array<FilterRect, RectCount>> rects;

    // Seconds since the last replacement, and the rectangle replaced next. One module exists per
    // run, so keeping them here is keeping them for the process; they survive a Release and Load.
    float respawnTimer = 0.0f;
    int respawnCursor = 0;
};
