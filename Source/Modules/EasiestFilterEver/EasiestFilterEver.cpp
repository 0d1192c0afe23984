#include "Modules/EasiestFilterEver/EasiestFilterEver.h"

#include "Framework/DXEffect/DXEffectHandler.h"
#include "Framework/DXFramework.h"
#include "Framework/DeviceCall.h"
#include "Framework/FrameworkEx.h"
#include "Framework/Noise/CrtRand.h"
#include "Framework/Timer/DemoSyncTimer.h"
#include "Framework/Timer/Timer.h"
#include "Platform/ClampToInteger.h"
#include "sync/device.h"

#include <algorithm>

namespace {

// A generator value mapped to [0.1, 0.4].
float HalfSize(int r)
{
    return static_cast<float>(r) * 9.155553e-6f + 0.1f;
}

} // namespace

void EasiestFilterEver::NewRect(FilterRect& rect)
{
    int r[6];
    for (int& draw : r)
        draw = CrtRand::rand();
    rect.position = {CrtRand::Signed(r[1]) / 2.0f, CrtRand::Signed(r[0]) / 2.0f, 0.0f};
    rect.velocity = {CrtRand::Signed(r[3]) / 2.0f, CrtRand::Signed(r[2]) / 2.0f, 0.0f};
    rect.halfSize = {HalfSize(r[5]), HalfSize(r[4])};
}

void EasiestFilterEver::Load()
{
    SyncDevice& sync = *DXFramework::Instance()->syncDevice;
    wildnessTrack = &sync.trackByName("Filter_Wildness");
    numQuadsTrack = &sync.trackByName("Filter_NumQuads");
    xSizeTrack = &sync.trackByName("Filter_XSize");
    ySizeTrack = &sync.trackByName("Filter_YSize");
    sprites = std::make_unique<Sprites>("", RectCount, RingSize);
    rects = std::make_unique<std::array<FilterRect, RectCount>>();
    for (FilterRect& rect : *rects)
        NewRect(rect);
}

void EasiestFilterEver::Release()
{
    rects.reset();
    sprites.reset();
}

void EasiestFilterEver::Update()
{
    if (!sprites || !rects)
        throw FrameworkEx("[EasiestFilterEver::Update] The module is not loaded");
    const float row = static_cast<float>(ShowRow());
    const float dt = static_cast<float>(Timer::GetDelta());

    // Truncated after clamping: 3.9 draws 3, anything below 0 (and NaN) draws none.
    const unsigned count = ClampToInteger(numQuadsTrack->valueAt(row), 0u, unsigned(RectCount));
    const float sx = xSizeTrack->valueAt(row);
    const float sy = ySizeTrack->valueAt(row);

    std::array<D3DXVECTOR3, RectCount> centres;
    std::array<D3DXVECTOR2, RectCount> sizes;
    for (unsigned i = 0; i < RectCount; ++i) {
        FilterRect& rect = (*rects)[i];
        centres[i] = {rect.position.x * sx, rect.position.y * sy, rect.position.z};
        sizes[i] = {rect.halfSize.x * sx, rect.halfSize.y * sy};
        rect.position.x += rect.velocity.x * dt;
        rect.position.y += rect.velocity.y * dt;
        rect.position.z += rect.velocity.z * dt;
    }

    respawnTimer += dt;
    if (wildnessTrack->valueAt(row) < respawnTimer) {
        NewRect((*rects)[respawnCursor]);
        respawnTimer = 0.0f;
        respawnCursor = (respawnCursor + 1) % static_cast<int>(RectCount);
    }

    sprites->AdvanceRing();
    DEVICE_CALL(sprites->SetCentres(centres.data(), count));
    sprites->SetSizes(sizes.data());
}

void EasiestFilterEver::Draw()
{
    if (!sprites)
        throw FrameworkEx("[EasiestFilterEver::Draw] The module is not loaded");
    DXEffectHandler::DrawObject(*sprites);
}
