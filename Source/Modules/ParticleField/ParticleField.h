// The drifting specks of most parts of the show: up to 7000 camera-facing sprites, emitted from
// three spot lights of the current scene and carried through the flow field, whose strength the
// sync track "Particles_FieldForce" sets. The part scenes drive it: ResetParticles when they
// start, then every frame UpdateParticles with their emitters, SortParticles and, inside their
// own pass, Draw with the effect and technique they made active.
#pragma once

#include "Framework/ModuleHandler/DXModule.h"
#include "Framework/Noise/FlowField.h"
#include "Framework/RenderClasses/Sprites/Sprites.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class SpotLight;
class SyncDevice;
class SyncTrack;

// c0 .. c5 as (r, g, b, a); particle i takes c(i mod 6).
using ParticleColours = std::array<D3DXVECTOR4, 6>;

class ParticleField : public DXModule {
public:
    static constexpr int Capacity = 7000;
    static constexpr int RingSize = 3;
    static constexpr float SpriteHalfSize = 0.2f;
    // Seconds between bursts, and the particles of a burst.
    static constexpr float SpawnInterval = 0.02f;
    static constexpr int BurstSize = 60;

    // The colours Load gives the field, from white down to dark grey.
    static const ParticleColours Greys;

    // Builds the flow field (which reseeds the shared generator and draws from it) and the
    // per-particle arrays; the field is empty.
    explicit ParticleField(std::string name);

    // Fetches the track from the framework's sync device, makes the sprites, empties the field in
    // greys and gives every sprite its texture window (two draws of the shared generator each).
    void Load() override;
    // The same with the track from the given device.
    void Load(SyncDevice& sync);
    void Release() override;
    // The scenes drive the simulation; nothing to do here.
    void Update() override {}
    // Draws the sprites that have positions in this frame's and the previous frame's buffers, in
    // the order SortParticles left, with the active effect and technique.
    void Draw() override;

    // Empties the field and colours particle i with colours[i mod 6].
    void ResetParticles(const ParticleColours& colours);
    // One step at the show clock, by the last frame's duration: the particles move, are damped
    // and pushed by the flow field; their positions go into the next buffer of the ring; then a
    // burst may be emitted, the emitters taking turns.
    void UpdateParticles(const SpotLight& e0, const SpotLight& e1, const SpotLight& e2);
    // Orders the particles back to front as the current scene's active camera sees them and
    // writes the drawn ones into the index buffer in that order.
    void SortParticles();
    // The same for a camera with that camera-to-world matrix.
    void SortParticles(const D3DXMATRIX& cameraToWorld);

    int32_t maxParticles = Capacity;
    int32_t count = 0;
    int32_t capacity = Capacity;
    std::vector<int32_t> sortOrder;
    std::vector<D3DXVECTOR3> velocities;
    std::vector<D3DXVECTOR3> positions;
    // positions as they stood at the end of each particle's step: what the sprites were sent.
    std::vector<D3DXVECTOR3> uploadedPositions;
    std::unique_ptr<Sprites> sprites;
    FlowField flowField;
    // The field's cells being summed in the background while the show starts; the first step
    // waits for them (and destruction, before the field goes).
    std::unique_ptr<VortexFieldBuild> flowFieldBuild;
    SyncTrack* fieldForce = nullptr;
    int32_t historyIndex = 0;
    // The count after each of the last three updates; only particles below all three have
    // positions in both buffers a draw reads.
    std::array<int32_t, 3> countHistory{};
    int32_t drawCount = 0;

    // One module exists per run, so these are the process's: the sort's keys, the seconds since
    // the last burst and the emitter that emits next. A reset keeps the last two.
    std::vector<float> depthKeys;
    float spawnTimer = 0.0f;
    int emitterCursor = 0;
    // The colours of the last reset, which the sprites hold.
    ParticleColours currentColours{};

private:
    void Loaded(const char* operation) const;
    void Move(float dt, float force, double t);
    void RecordCount();
    void Emit(float dt, const std::array<const SpotLight*, 3>& emitters);
    void WriteColours(const ParticleColours& colours);
    void WriteTextureWindows();
    void WriteDrawOrder();
};
