#include "Modules/ParticleField/ParticleField.h"

#include "Framework/DXEffect/DXEffectHandler.h"
#include "Framework/DXFramework.h"
#include "Framework/DeviceCall.h"
#include "Framework/FrameworkEx.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Framework/Scene/SpotLight.h"
#include "Framework/Timer/DemoSyncTimer.h"
#include "Framework/Timer/Timer.h"
#include "Modules/Common/Drift.h"
#include "Modules/Common/SpriteLook.h"
#include "Modules/ParticleField/detail/FieldPush.h"
#include "Modules/ParticleField/detail/SpotEmission.h"
#include "Platform/Gfx/D3D9Color.h"
#include "sync/device.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <thread>

namespace {

constexpr float Drag = 1.29f; // per second

D3DCOLOR ArgbOf(const D3DXVECTOR4& colour)
{
    using particles::ColourByte;
    return D3DCOLOR_ARGB(ColourByte(colour.w), ColourByte(colour.x), ColourByte(colour.y), ColourByte(colour.z));
}

// The active camera of the timeline's current scene, whose view the particles are sorted for.
const Camera& ActiveCamera()
{
    const SceneHandler* scenes = SceneHandler::Instance();
    const Scene* scene = scenes ? scenes->GetCurrentScene() : nullptr;
    const Camera* camera = scene ? scene->cameraSet.GetActiveCamera() : nullptr;
    if (!camera)
        throw FrameworkEx("[ParticleField::SortParticles] No current scene with an active camera");
    return *camera;
}

} // namespace

const ParticleColours ParticleField::Greys = {{{1.0f, 1.0f, 1.0f, 0.0f},
                                               {0.9f, 0.9f, 0.9f, 0.0f},
                                               {0.8f, 0.8f, 0.8f, 0.0f},
                                               {0.6f, 0.6f, 0.6f, 0.0f},
                                               {0.5f, 0.5f, 0.5f, 0.0f},
                                               {0.4f, 0.4f, 0.4f, 0.0f}}};

ParticleField::ParticleField(std::string name)
    : DXModule(std::move(name)),
      sortOrder(Capacity),
      velocities(Capacity),
      positions(Capacity),
      uploadedPositions(Capacity),
      depthKeys(Capacity)
{
    // The other cores sum the field while this one goes on starting the show.
    const unsigned cores = std::thread::hardware_concurrency();
    flowFieldBuild = std::make_unique<VortexFieldBuild>(flowField, cores > 1 ? cores - 1 : 1);
    std::iota(sortOrder.begin(), sortOrder.end(), 0);
}

void ParticleField::Load()
{
    const DXFramework* framework = DXFramework::Instance();
    if (!framework || !framework->syncDevice)
        throw FrameworkEx("[ParticleField::Load] The framework's sync device does not exist yet");
    Load(*framework->syncDevice);
}

void ParticleField::Load(SyncDevice& sync)
{
    fieldForce = &sync.trackByName("Particles_FieldForce");
    sprites = std::make_unique<Sprites>("", Capacity, RingSize);
    sprites->SetUniformSize(SpriteHalfSize);
    ResetParticles(Greys);
    WriteTextureWindows();
}

void ParticleField::Release()
{
    sprites.reset();
}

void ParticleField::Loaded(const char* operation) const
{
    if (!sprites)
        throw FrameworkEx(std::string("[ParticleField::") + operation + "] The module is not loaded");
}

void ParticleField::ResetParticles(const ParticleColours& colours)
{
    Loaded("ResetParticles");
    historyIndex = 0;
    countHistory = {0, 0, 0};
    drawCount = 0;
    count = 0;
    std::iota(sortOrder.begin(), sortOrder.end(), 0);
    currentColours = colours;
    WriteColours(colours);
}

// A buffer that cannot be locked keeps what the batch put in it, as the dance's looks do; the
// particles are still simulated and drawn.
void ParticleField::WriteColours(const ParticleColours& colours)
{
    D3DCOLOR* out = nullptr;
    if (FAILED(sprites->LockColours(&out)))
        return;
    std::array<D3DCOLOR, 6> packed;
    std::transform(colours.begin(), colours.end(), packed.begin(), ArgbOf);
    for (int i = 0; i < Capacity; ++i)
        std::fill_n(out + Sprites::VerticesPerQuad * static_cast<size_t>(i), Sprites::VerticesPerQuad, packed[i % 6]);
    sprites->UnlockColours();
}

void ParticleField::WriteTextureWindows()
{
    D3DXVECTOR2* out = nullptr;
    if (FAILED(sprites->LockTexCoords(&out)))
        return;
    for (int i = 0; i < Capacity; ++i) {
        const particles::TextureWindow window = particles::DrawTextureWindow();
        std::copy(window.begin(), window.end(), out + Sprites::VerticesPerQuad * static_cast<size_t>(i));
    }
    sprites->UnlockTexCoords();
}

void ParticleField::UpdateParticles(const SpotLight& e0, const SpotLight& e1, const SpotLight& e2)
{
    Loaded("UpdateParticles");
    const double t = Timer::GetElapsed();
    const float dt = static_cast<float>(Timer::GetDelta());
    const float force = fieldForce->valueAt(static_cast<float>(ShowRow()));
    Move(dt, force, t);
    sprites->AdvanceRing();
    // A recovered lost device reloaded the module and emptied the field; the step goes on from there.
    DEVICE_CALL(sprites->SetCentres(uploadedPositions.data(), static_cast<unsigned>(count)));
    RecordCount();
    Emit(dt, {&e0, &e1, &e2});
}

void ParticleField::Move(float dt, float force, double t)
{
    if (flowFieldBuild) {
        flowFieldBuild->Finish();
        flowFieldBuild.reset();
    }
    const float h = dt * force;
    const particles::detail::SwirlTurn turn = particles::detail::SwirlAt(t);
    const float damping = 1.0f - dt * Drag;
    for (int i = 0; i < count; ++i) {
        D3DXVECTOR3& p = positions[i];
        D3DXVECTOR3& v = velocities[i];
        particles::DriftAndDamp(p, v, dt, damping);
        const D3DXVECTOR3 push = particles::detail::FieldPush(flowField, p, turn);
        v.x += h * push.x;
        v.y += h * push.y;
        v.z += h * push.z;
        uploadedPositions[i] = p;
    }
}

void ParticleField::RecordCount()
{
    historyIndex = (historyIndex + 1) % 3;
    countHistory[historyIndex] = count;
    drawCount = *std::min_element(countHistory.begin(), countHistory.end());
}

void ParticleField::Emit(float dt, const std::array<const SpotLight*, 3>& emitters)
{
    // A clock that stepped back does not bring the next burst nearer.
    spawnTimer += dt < 0.0f ? 0.0f : dt;
    if (count >= maxParticles || !(spawnTimer > SpawnInterval))
        return;
    spawnTimer = 0.0f;
    for (int burst = 0; burst < BurstSize && count < maxParticles; ++burst) {
        const particles::detail::Emitted born = particles::detail::EmitFrom(*emitters[emitterCursor]);
        positions[count] = born.position;
        velocities[count] = born.velocity;
        ++count;
        emitterCursor = (emitterCursor + 1) % 3;
    }
}

void ParticleField::SortParticles()
{
    Loaded("SortParticles");
    SortParticles(ActiveCamera().world);
}

void ParticleField::SortParticles(const D3DXMATRIX& cameraToWorld)
{
    Loaded("SortParticles");
    const D3DXVECTOR3 axis{cameraToWorld.m[2][0], cameraToWorld.m[2][1], cameraToWorld.m[2][2]};
    for (int i = 0; i < count; ++i) {
        const float key = D3DXVec3Dot(&positions[i], &axis);
        // A lost particle (NaN) goes last rather than breaking the order's transitivity.
        depthKeys[i] = std::isnan(key) ? std::numeric_limits<float>::infinity() : key;
    }
    // The camera looks along -axis, so ascending keys are back to front. Equal keys go by index:
    // a comparison that calls equal keys "less" both ways is no order at all, and a sort handed
    // one may read outside the array.
    std::sort(sortOrder.begin(), sortOrder.begin() + count, [this](int32_t a, int32_t b) {
        return depthKeys[a] < depthKeys[b] || (depthKeys[a] == depthKeys[b] && a < b);
    });
    WriteDrawOrder();
}

// Only the particles below drawCount have positions in both buffers a draw reads; those born
// since hold another frame's centres, or none. So the index buffer takes exactly the drawn
// particles, back to front, and the newer ones wait their turn.
void ParticleField::WriteDrawOrder()
{
    uint32_t* indices = nullptr;
    // A recovered lost device reloaded the module, whose new batch is sorted next frame.
    if (!DEVICE_CALL(sprites->LockIndices(&indices)))
        return;
    for (int i = 0; i < count; ++i) {
        const int32_t particle = sortOrder[i];
        if (particle >= drawCount)
            continue;
        Sprites::WriteQuadIndices(indices, static_cast<uint32_t>(particle));
        indices += Sprites::IndicesPerQuad;
    }
    DEVICE_CALL(sprites->UnlockIndices());
}

void ParticleField::Draw()
{
    Loaded("Draw");
    sprites->activeQuads = static_cast<unsigned>(drawCount);
    DXEffectHandler::DrawObject(*sprites);
}
