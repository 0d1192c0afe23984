#include "Demo/Scenes/FamilyScene.h"

#include "Framework/DXEffect/DXEffectHandler.h"
#include "Framework/DXFramework.h"
#include "Framework/DeviceCall.h"
#include "Framework/FrameworkEx.h"
#include "Framework/Scene/SpotLight.h"
#include "Framework/Timer/DemoSyncTimer.h"
#include "Framework/Timer/Timer.h"
#include "sync/device.h"

#include <algorithm>
#include <cmath>

namespace {

std::string BloomTarget(int level, char pair)
{
    return "bloom_" + std::to_string(level) + "_" + pair;
}

// The particle effect fades trails by a fixed share per sixtieth of a second; a frame asks for as
// many sixtieths as it lasted. A stalled clock (a seek, a device reset) asks for at most ten
// seconds' worth, which leaves nothing of the old picture anyway.
constexpr double TrailStepsPerSecond = 60.0;
constexpr double MostTrailSteps = 600.0;

} // namespace

void FamilyScene::LoadWhiteFade()
{
    whiteFade = &DXFramework::Instance()->syncDevice->trackByName("WhiteFade");
}

float FamilyScene::WhiteFade() const
{
    return whiteFade->valueAt(static_cast<float>(ShowRow()));
}

std::array<const SpotLight*, 3> FamilyScene::FindEmitters(const std::array<std::string, 3>& names,
                                                          const std::string& sceneFile) const
{
    return FindEmitters(names, sceneFile, lights, "Step");
}

std::array<const SpotLight*, 3> FamilyScene::FindEmitters(const std::array<std::string, 3>& names,
                                                          const std::string& sceneFile, const LightsByName& among,
                                                          const std::string& where) const
{
    std::array<const SpotLight*, 3> emitters{};
    for (size_t i = 0; i < emitters.size(); ++i) {
        const auto found = among.find(names[i]);
        emitters[i] = found == among.end() ? nullptr : dynamic_cast<const SpotLight*>(found->second.get());
        if (!emitters[i])
            throw FrameworkEx("[" + GetName() + "::" + where + "] The scene file \"" + sceneFile +
                              "\" has no spot light \"" + names[i] + "\"");
    }
    return emitters;
}

void FamilyScene::AddBloomTargets()
{
    const DisplaySettings& settings = DXFramework::Instance()->settings;
    // A level is never less than a texel a side, however small the picture.
    const auto side = [](uint32_t full, int level) { return std::max(full >> level, 1u); };
    for (int level = 1; level <= static_cast<int>(PostEffects::BloomLevels); ++level)
        for (char pair : {'a', 'b'})
            AddRenderTarget(BloomTarget(level, pair), D3DFMT_A8R8G8B8, side(settings.renderWidth, level),
                            side(settings.renderHeight, level));
}

std::array<PostEffects::BloomLevel, PostEffects::BloomLevels> FamilyScene::BloomLevels() const
{
    return {{
        {GetRenderTarget(BloomTarget(1, 'a')), GetRenderTarget(BloomTarget(1, 'b'))},
        {GetRenderTarget(BloomTarget(2, 'a')), GetRenderTarget(BloomTarget(2, 'b'))},
        {GetRenderTarget(BloomTarget(3, 'a')), GetRenderTarget(BloomTarget(3, 'b'))},
        {GetRenderTarget(BloomTarget(4, 'a')), GetRenderTarget(BloomTarget(4, 'b'))},
    }};
}

void FamilyScene::BindBackBuffer()
{
    DXFramework& framework = *DXFramework::Instance();
    DEVICE_CALL(DXFramework::device->SetDepthStencilSurface(framework.depthSurface));
    DEVICE_CALL(DXFramework::device->SetRenderTarget(0, framework.backBuffer));
    framework.SetLetterboxViewport();
}

void FamilyScene::CopyPictureTo(const std::string& targetName) const
{
    DXFramework& framework = *DXFramework::Instance();
    const DisplaySettings& settings = framework.settings;
    const LONG left = static_cast<LONG>(settings.PictureLeft()), top = static_cast<LONG>(settings.PictureTop());
    const RECT picture{left, top, left + static_cast<LONG>(settings.renderWidth),
                       top + static_cast<LONG>(settings.renderHeight)};
    DEVICE_CALL(DXFramework::device->StretchRect(framework.backBuffer, &picture, GetRenderTarget(targetName).surface,
                                                 nullptr, D3DTEXF_POINT));
}

void FamilyScene::MotionBlurIntoBackBuffer(PostEffects& post, const std::string& colour, const std::string& velocity,
                                           const std::string& velocityScratch)
{
    post.Blur(GetRenderTarget(velocity), GetRenderTarget(velocityScratch), VelocityBlurRounds);
    BindBackBuffer();
    post.MotionBlur(GetRenderTarget(colour), GetRenderTarget(velocity));
    CopyPictureTo(colour);
}

void FamilyScene::DrawScreenFilter(DXModule& filter, const std::string& background) const
{
    DXEffectHandler::SetActiveEffect("EasiestFilterEver");
    DXEffectHandler::SetTextureBySemantic("BGTEX", GetRenderTarget(background).texture);
    DXEffectHandler::SetTechnique("EasiestFilterEver");
    filter.Draw();
}

void FamilyScene::FadeToWhite(PostEffects& post, const std::string& source)
{
    const float fade = WhiteFade();
    if (fade == 0.0f)
        return;
    CopyPictureTo(source);
    post.Bloom(GetRenderTarget(source), BloomLevels(), fade);
}

void FamilyScene::SetParticleTrails(bool trails, bool seed)
{
    const double delta = Timer::GetDelta();
    // A clock that ran backwards or is not a number fades nothing.
    const double steps = trails && seed                ? MostTrailSteps
                         : trails && delta > 0.0       ? std::min(delta * TrailStepsPerSecond, MostTrailSteps)
                                                       : 0.0;
    DXEffectHandler::SetFloatBySemantic("TRAILFADE", static_cast<float>(steps));
    DXEffectHandler::SetFloatBySemantic("TRAILSEED", trails && seed ? 1.0f : 0.0f);
}
