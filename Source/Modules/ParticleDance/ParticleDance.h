// The particle swarm of the box scene: 2500 sprites confined to a cube of +-5 units, pulled towards
// an attractor that flies a fixed path, damped, pushed down by gravity and kept apart by a
// uniform-grid neighbour search. Three sync tracks steer it: the pull's strength ("Box_force"),
// its fall-off with distance ("Box_dieoff") and gravity ("Box_gravitation"). Each frame the scene
// calls Update, then SortParticles, then draws it with its own effect.
#pragma once

#include "Framework/ModuleHandler/DXModule.h"
#include "Framework/RenderClasses/Sprites/Sprites.h"
#include "Framework/RenderTargetResources/RTHandler/RTHandler.h"
#include "Modules/ParticleDance/NeighbourGrid.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

class SyncDevice;
class SyncTrack;

class ParticleDance : public DXModule {
public:
    static constexpr int count = 2500;
    static constexpr int RingSize = 5;
    static constexpr float SpriteHalfSize = 1.2f;
    // Separation radius; the grid's cells are this size so that neighbours are in adjacent cells.
    static constexpr float InteractionRadius = NeighbourGrid::cellSize;
    static constexpr float WallDistance = 5.0f;

    // Fetches the tracks through the framework's sync device and scatters the swarm (three draws of
    // the shared generator per particle).
    explicit ParticleDance(std::string name);
    // The same with the tracks from the given device.
    ParticleDance(std::string name, SyncDevice& sync);

    // Makes the sprites and gives each its texture window and colour from the shared generator.
    void Load() override;
    void Release() override;
    // Moves the swarm on by the last frame's duration at the show clock, in steps of at most a
    // tenth of a second; the new positions go into the next buffer of the sprites' ring.
    void Update() override;
    // Draws the sprites with the active effect.
    void Draw() override;
    // Draws the swarm with the effect "liquid" as drops: their colour into colour, their motion
    // into velocity and their linear depth into depth, with the depth buffer bound. Leaves slot 0
    // bound to colour or depth and the other slots empty.
    void DrawDrops(const RenderTargetEntry& colour, const RenderTargetEntry& velocity, const RenderTargetEntry& depth);
    // DrawDrops in one draw into the three targets, or else (the earlier way) the colour and motion
    // first and the depth in a second draw of the same drops.
    bool dropsInOneDraw = true;
    // Orders the sprites along world z, lowest first, into the index buffer.
    void SortParticles();

    SyncTrack* forceTrack;
    SyncTrack* dieoffTrack;
    SyncTrack* gravityTrack;
    std::vector<int32_t> sortOrder;
    std::vector<D3DXVECTOR3> velocities;
    std::vector<int32_t> cellOfParticle;
    NeighbourGrid grid{count};
    std::unique_ptr<Sprites> sprites;
    // One module exists per run, and it is made once, so keeping the swarm here keeps it for the
    // process: it survives Release and Load and the box scene's comings and goings.
    std::vector<D3DXVECTOR3> positions;

private:
    // SortParticles' depth and particle pairs, kept between frames so that sorting allocates
    // nothing.
    std::vector<std::pair<float, int32_t>> depthOrder;

    // Steps of Update.
    void FillGrid();
    void Move(const D3DXVECTOR3& attractor, float force, float dieoff, float gravity, float dt);
    void SeparateAndConfine();
    void Separate(int particle, D3DXVECTOR3& p, D3DXVECTOR3& v) const;
};
