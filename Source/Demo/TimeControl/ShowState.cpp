#include "Demo/TimeControl/ShowState.h"

#include "Demo/Scenes/ScrollerScene.h"
#include "Framework/FrameworkEx.h"
#include "Framework/ModuleHandler/ModuleHandler.h"
#include "Framework/Noise/CrtRand.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Modules/ParticleDance/ParticleDance.h"

#include <cstring>

namespace {

ModuleHandler& Modules()
{
    return *ModuleHandler::Instance();
}

ScrollerScene& Scroller()
{
    return static_cast<ScrollerScene&>(*SceneHandler::Instance()->Scenes().at(ScrollerScene::SceneName));
}

template <typename T>
bool SameBits(const std::vector<T>& a, const std::vector<T>& b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

template <typename T>
bool SameBits(const T& a, const T& b)
{
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

} // namespace

double ShowState::Seconds() const
{
    return SceneHandler::StepTime(steps);
}

bool ShowState::operator==(const ShowState& other) const
{
    return steps == other.steps && randomState == other.randomState && fieldCount == other.fieldCount &&
           SameBits(fieldPositions, other.fieldPositions) && SameBits(fieldVelocities, other.fieldVelocities) &&
           SameBits(fieldSpawnTimer, other.fieldSpawnTimer) && fieldEmitterCursor == other.fieldEmitterCursor &&
           SameBits(fieldColours, other.fieldColours) && SameBits(dancePositions, other.dancePositions) &&
           SameBits(danceVelocities, other.danceVelocities) && SameBits(filterRects, other.filterRects) &&
           SameBits(filterRespawnTimer, other.filterRespawnTimer) &&
           filterRespawnCursor == other.filterRespawnCursor && recoloured == other.recoloured;
}

size_t ShowState::Bytes() const
{
    return sizeof(ShowState) +
           sizeof(D3DXVECTOR3) * (fieldPositions.size() + fieldVelocities.size() + dancePositions.size() +
                                  danceVelocities.size());
}

ShowState CaptureShowState()
{
    const ParticleField& field = Modules().GetModuleAs<ParticleField>("ParticleField");
    const ParticleDance& dance = Modules().GetModuleAs<ParticleDance>("ParticleDance");
    const auto& filter = Modules().GetModuleAs<EasiestFilterEver>("EasiestFilterEver");
    if (!filter.rects)
        throw FrameworkEx("[CaptureShowState] The screen filter is not loaded");
    ShowState state;
    state.steps = SceneHandler::Instance()->StepsTaken();
    state.randomState = CrtRand::State();
    state.fieldCount = field.count;
    // Only the live particles: those beyond the count are overwritten before they are read.
    state.fieldPositions.assign(field.positions.begin(), field.positions.begin() + field.count);
    state.fieldVelocities.assign(field.velocities.begin(), field.velocities.begin() + field.count);
    state.fieldSpawnTimer = field.spawnTimer;
    state.fieldEmitterCursor = field.emitterCursor;
    state.fieldColours = field.currentColours;
    state.dancePositions = dance.positions;
    state.danceVelocities = dance.velocities;
    state.filterRects = *filter.rects;
    state.filterRespawnTimer = filter.respawnTimer;
    state.filterRespawnCursor = filter.respawnCursor;
    state.recoloured = Scroller().recoloured;
    return state;
}

void RestoreShowState(const ShowState& state)
{
    ParticleField& field = Modules().GetModuleAs<ParticleField>("ParticleField");
    ParticleDance& dance = Modules().GetModuleAs<ParticleDance>("ParticleDance");
    auto& filter = Modules().GetModuleAs<EasiestFilterEver>("EasiestFilterEver");
    if (!filter.rects)
        throw FrameworkEx("[RestoreShowState] The screen filter is not loaded");
    SceneHandler::Instance()->PutStepsAt(state.steps);
    CrtRand::srand(state.randomState);
    field.ResetParticles(state.fieldColours);
    field.count = state.fieldCount;
    std::copy(state.fieldPositions.begin(), state.fieldPositions.end(), field.positions.begin());
    std::copy(state.fieldVelocities.begin(), state.fieldVelocities.end(), field.velocities.begin());
    field.spawnTimer = state.fieldSpawnTimer;
    field.emitterCursor = state.fieldEmitterCursor;
    dance.positions = state.dancePositions;
    dance.velocities = state.danceVelocities;
    *filter.rects = state.filterRects;
    filter.respawnTimer = state.filterRespawnTimer;
    filter.respawnCursor = state.filterRespawnCursor;
    Scroller().recoloured = state.recoloured;
}
