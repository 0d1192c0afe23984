#include "Modules/ParticleDance/ParticleDance.h"

#include "Framework/DXEffect/DXEffectHandler.h"
#include "Framework/DXFramework.h"
#include "Framework/DeviceCall.h"
#include "Framework/FrameworkEx.h"
#include "Framework/Noise/CrtRand.h"
#include "Framework/Timer/DemoSyncTimer.h"
#include "Framework/Timer/Timer.h"
#include "Modules/Common/Drift.h"
#include "Modules/Common/SpriteLook.h"
#include "Modules/ParticleDance/detail/Attractor.h"
#include "Modules/ParticleDance/detail/PaletteColour.h"
#include "sync/device.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <span>

namespace {

constexpr float ScatterExtent = 4.0f;
constexpr float Drag = 2.6f;         // per second
constexpr float DieoffScale = 0.1f;  // the dieoff track's values are ten times the fall-off
// The longest step the swarm takes: past 1 / Drag the damping turns the speed around and every
// step makes it larger. A longer frame (a slow machine playing in real time) takes several steps,
// and one that is longer still (the clock stopped and went on) takes at most the last
// MostStepsPerFrame of them.
constexpr float LongestStep = 0.1f;
constexpr int MostStepsPerFrame = 30;

SyncDevice& FrameworkSync()
{
    DXFramework* framework = DXFramework::Instance();
    if (!framework || !framework->syncDevice)
        throw FrameworkEx("[ParticleDance::ParticleDance] The framework's sync device does not exist yet");
    return *framework->syncDevice;
}

float LengthOf(float x, float y, float z)
{
    return std::sqrt(x * x + y * y + z * z);
}

// The pull towards the attractor per unit of the vector to it: about F near the attractor, falling
// off as 1 / (k a^2) far from it. At the attractor itself (a = 0) there is no direction to pull in
// and without force (F = 0) there is no pull, yet both divide by zero, as do tracks whose values
// cancel the denominator; whatever comes out infinite or NaN pulls with nothing, so that neither
// reaches the swarm.
float PullPerUnit(float a, float force, float dieoff, float dt)
{
    const float pull = dt / (a * a * dieoff + 1.0f / force) * (1.0f / a);
    return std::isfinite(pull) ? pull : 0.0f;
}

// Pushes particle, at p with velocity v, away from each of others closer than the interaction
// radius, reading each where it is now.
void PushApart(int particle, std::span<const uint16_t> others, const std::vector<D3DXVECTOR3>& positions,
               D3DXVECTOR3& p, D3DXVECTOR3& v)
{
    constexpr float radius = ParticleDance::InteractionRadius;
    // A little over radius squared: most particles of the nearby cells are out of reach, and this
    // tells them without a square root, never dropping one that the exact test would push.
    constexpr float reachSquared = 0.0901f;
    for (const uint16_t other : others) {
        // The particle itself, where it stood before this step moved p.
        if (other == particle)
            continue;
        const D3DXVECTOR3& q = positions[other];
        const D3DXVECTOR3 apart{p.x - q.x, p.y - q.y, p.z - q.z};
        const float squared = apart.x * apart.x + apart.y * apart.y + apart.z * apart.z;
        if (!(squared < reachSquared))
            continue;
        const float e = std::sqrt(squared);
        if (!(e > 0.0f && e < radius))
            continue;
        const float overlap = radius - e;
        p.x += apart.x * overlap * 2.0f;
        p.y += apart.y * overlap * 2.0f;
        p.z += apart.z * overlap * 2.0f;
        v.x += apart.x * overlap / e;
        v.y += apart.y * overlap / e;
        v.z += apart.z * overlap / e;
    }
}

// A wall stops a particle on the wall and takes away its speed into the wall.
void Confine(float& coordinate, float& velocity)
{
    constexpr float wall = ParticleDance::WallDistance;
    if (coordinate < -wall) {
        coordinate = -wall;
        velocity = std::max(velocity, 0.0f);
    } else if (coordinate > wall) {
        coordinate = wall;
        velocity = std::min(velocity, 0.0f);
    }
}

} // namespace

ParticleDance::ParticleDance(std::string name) : ParticleDance(std::move(name), FrameworkSync()) {}

ParticleDance::ParticleDance(std::string name, SyncDevice& sync)
    : DXModule(std::move(name)),
      forceTrack(&sync.trackByName("Box_force")),
      dieoffTrack(&sync.trackByName("Box_dieoff")),
      gravityTrack(&sync.trackByName("Box_gravitation")),
      sortOrder(count),
      velocities(count),
      cellOfParticle(count),
      positions(count),
      depthOrder(count)
{
    std::iota(sortOrder.begin(), sortOrder.end(), 0);
    for (D3DXVECTOR3& position : positions) {
        const int r1 = CrtRand::rand();
        const int r2 = CrtRand::rand();
        const int r3 = CrtRand::rand();
        position = {ScatterExtent * CrtRand::Signed(r3), ScatterExtent * CrtRand::Signed(r2), ScatterExtent * CrtRand::Signed(r1)};
    }
}

void ParticleDance::Load()
{
    sprites = std::make_unique<Sprites>("", count, RingSize);
    sprites->SetUniformSize(SpriteHalfSize);
    // A buffer that cannot be locked keeps what the batch put in it; the draws still happen, so
    // every sprite keeps its own looks from the generator whichever buffer took them.
    D3DCOLOR* colours = nullptr;
    D3DXVECTOR2* texCoords = nullptr;
    const bool coloursLocked = SUCCEEDED(sprites->LockColours(&colours));
    const bool texCoordsLocked = SUCCEEDED(sprites->LockTexCoords(&texCoords));
    for (int sprite = 0; sprite < count; ++sprite) {
        // Three draws per sprite: the window's u and v, then the colour.
        const particles::TextureWindow window = particles::DrawTextureWindow();
        const D3DCOLOR colour = dance::detail::PaletteColour(CrtRand::rand());
        const size_t first = Sprites::VerticesPerQuad * static_cast<size_t>(sprite);
        if (texCoordsLocked)
            std::copy(window.begin(), window.end(), texCoords + first);
        if (coloursLocked)
            std::fill_n(colours + first, Sprites::VerticesPerQuad, colour);
    }
    if (coloursLocked)
        sprites->UnlockColours();
    if (texCoordsLocked)
        sprites->UnlockTexCoords();
}

void ParticleDance::Release()
{
    sprites.reset();
}

void ParticleDance::Update()
{
    if (!sprites)
        throw FrameworkEx("[ParticleDance::Update] The module is not loaded");
    const float row = static_cast<float>(ShowRow());
    const float dt = static_cast<float>(Timer::GetDelta());
    const float force = forceTrack->valueAt(row);
    const float dieoff = dieoffTrack->valueAt(row) * DieoffScale;
    const float gravity = gravityTrack->valueAt(row);

    // A frame no longer than LongestStep (or whose duration is no number) is one step, as the
    // tracks and the attractor stand at its end.
    const int steps = dt > LongestStep ? static_cast<int>(std::min(std::ceil(dt / LongestStep), float(MostStepsPerFrame))) : 1;
    const float step = steps > 1 ? std::min(dt / static_cast<float>(steps), LongestStep) : dt;
    const double end = Timer::GetElapsed();
    for (int i = steps - 1; i >= 0; --i) {
        FillGrid();
        Move(dance::detail::Attractor(end - static_cast<double>(step) * i), force, dieoff, gravity, step);
        SeparateAndConfine();
    }

    sprites->AdvanceRing();
    DEVICE_CALL(sprites->SetCentres(positions.data(), count));
}

// The grid holds where the particles were at the end of the last frame.
void ParticleDance::FillGrid()
{
    for (int i = 0; i < count; ++i)
        cellOfParticle[i] = NeighbourGrid::CellOf(positions[i]);
    grid.Fill(cellOfParticle);
}

void ParticleDance::Move(const D3DXVECTOR3& attractor, float force, float dieoff, float gravity, float dt)
{
    const float damping = 1.0f - Drag * dt;
    for (int i = 0; i < count; ++i) {
        D3DXVECTOR3& p = positions[i];
        D3DXVECTOR3& v = velocities[i];
        particles::DriftAndDamp(p, v, dt, damping);
        const D3DXVECTOR3 toAttractor{attractor.x - p.x, attractor.y - p.y, attractor.z - p.z};
        const float pull = PullPerUnit(LengthOf(toAttractor.x, toAttractor.y, toAttractor.z), force, dieoff, dt);
        v.x += toAttractor.x * pull;
        v.y += toAttractor.y * pull;
        v.z += toAttractor.z * pull;
        v.y -= dt * gravity;
    }
}

// In particle order, each particle reading the others where they are now: those before it have
// already been pushed and confined this frame.
void ParticleDance::SeparateAndConfine()
{
    for (int i = 0; i < count; ++i) {
        D3DXVECTOR3 p = positions[i];
        D3DXVECTOR3 v = velocities[i];
        Separate(i, p, v);
        Confine(p.x, v.x);
        Confine(p.y, v.y);
        Confine(p.z, v.z);
        positions[i] = p;
        velocities[i] = v;
    }
}

void ParticleDance::Separate(int particle, D3DXVECTOR3& p, D3DXVECTOR3& v) const
{
    constexpr int nx = NeighbourGrid::nx, ny = NeighbourGrid::ny;
    const int cell = cellOfParticle[particle];
    for (int dz = -1; dz <= 1; ++dz)
        for (int dy = -1; dy <= 1; ++dy) {
            // The three cells of a row are one run of the grid's entries; only at the grid's two
            // ends do the neighbours need clamping, one by one.
            const int first = cell + (dz * ny + dy) * nx - 1;
            if (first >= 0 && first + 2 < NeighbourGrid::CellCount)
                PushApart(particle, grid.Particles(first, first + 2), positions, p, v);
            else
                for (int dx = -1; dx <= 1; ++dx)
                    PushApart(particle, grid.Particles(NeighbourGrid::Neighbour(cell, dx, dy, dz)), positions, p, v);
        }
}

void ParticleDance::SortParticles()
{
    if (!sprites)
        throw FrameworkEx("[ParticleDance::SortParticles] The module is not loaded");
    // Ascending z, exactly. Comparing z differences truncated to whole units is not transitive,
    // and a sort handed such a comparison may read outside the array; the exact order is one of
    // the orders that comparison allows. Equal depths go by index and NaN sorts last, so the
    // order is a strict total one and the same on every run. The keys sit beside the indices, so
    // that the sort does not chase every comparison into the positions.
    for (int i = 0; i < count; ++i) {
        const int32_t particle = sortOrder[i];
        const float z = positions[particle].z;
        depthOrder[i] = {std::isnan(z) ? std::numeric_limits<float>::infinity() : z, particle};
    }
    std::sort(depthOrder.begin(), depthOrder.end());
    for (int i = 0; i < count; ++i)
        sortOrder[i] = depthOrder[i].second;

    uint32_t* indices = nullptr;
    // A recovered lost device reloaded the module, whose new batch is sorted next frame.
    if (!DEVICE_CALL(sprites->LockIndices(&indices)))
        return;
    for (size_t i = 0; i < sortOrder.size(); ++i)
        Sprites::WriteQuadIndices(indices + Sprites::IndicesPerQuad * i, static_cast<uint32_t>(sortOrder[i]));
    DEVICE_CALL(sprites->UnlockIndices());
}

void ParticleDance::Draw()
{
    if (!sprites)
        throw FrameworkEx("[ParticleDance::Draw] The module is not loaded");
    DXEffectHandler::DrawObject(*sprites);
}

void ParticleDance::DrawDrops(const RenderTargetEntry& colour, const RenderTargetEntry& velocity,
                              const RenderTargetEntry& depth)
{
    IDirect3DDevice9& device = *DXFramework::device;
    DXEffectHandler::SetActiveEffect("liquid");
    RTHandler::BindTarget(0, colour);
    RTHandler::BindTarget(1, velocity);
    if (dropsInOneDraw) {
        RTHandler::BindTarget(2, depth);
        DXEffectHandler::SetTechnique("DropsEveryTarget");
        Draw();
        DEVICE_CALL(device.SetRenderTarget(1, nullptr));
        DEVICE_CALL(device.SetRenderTarget(2, nullptr));
        return;
    }
    DXEffectHandler::SetTechnique("ColorParticles");
    Draw();
    DEVICE_CALL(device.SetRenderTarget(1, nullptr));
    RTHandler::BindTarget(0, depth);
    DXEffectHandler::SetTechnique("ParticleParticles");
    Draw();
}
