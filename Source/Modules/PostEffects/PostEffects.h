// The post-processing chain: the screen-space passes every scene composes into its frame (fills,
// a background ramp, blits, overlays, motion blur along a velocity field, separable blurs, depth
// of field, bloom with a fade to white, depth to normals, ambient occlusion and deferred point
// lights), all drawn with the effect "postfx". The module keeps no per-frame state: scenes call
// the operations they need in their own order, with targets of the RTHandler pool, and bind the
// output target themselves; only DepthOfField, Blur and Bloom bind targets, and only DepthOfField
// and Bloom put slot 0 and the viewport back afterwards.
#pragma once

#include "Framework/DXMesh/DXMesh.h"
#include "Framework/ModuleHandler/DXModule.h"
#include "Framework/RenderClasses/Quads/Quads.h"
#include "Framework/RenderTargetResources/RTHandler/RTHandler.h"
#include "Modules/PostEffects/BlurPlan.h"

#include <array>
#include <memory>
#include <span>
#include <string>

class Camera;

class PostEffects : public DXModule {
public:
    static inline const std::string ModuleName = "PostFX";
    static inline const std::string EffectName = "postfx";
    static inline const std::string EffectFile = "PostEffects.fx";
    static inline const std::string SphereMesh = "usphere.x";
    static constexpr size_t KernelSize = 16;
    static constexpr size_t SpareKernelSize = 32;
    static constexpr size_t BloomLevels = 4;
    static constexpr int BloomBlurRounds = 5;

    // The most lights one pass of DrawPointLights adds: two arrays of four floats a light, each of
    // the 48 floats an array parameter holds.
    static constexpr size_t MostLightsAPass = 12;
    static constexpr uint32_t LightTileSize = 96;

    struct PointLight {
        D3DXVECTOR3 position; // world
        D3DXVECTOR3 colour;
        float radius;
    };

    struct BloomLevel {
        const RenderTargetEntry& level;
        const RenderTargetEntry& scratch; // of the level's size
    };

    explicit PostEffects(std::string name = ModuleName) : DXModule(std::move(name)) {}

    // Makes the screen quad and registers the effect, then draws both kernels afresh from the
    // shared generator (192 draws) and loads the light sphere.
    void Load() override;
    void Release() override;

    // Each operation makes "postfx" active and draws into whatever the caller bound, except where
    // it says otherwise. Every one throws FrameworkEx before Load and after Release.
    void Ramp();
    void FillQuad(const D3DXVECTOR4& value);
    // The texture modulated by value.
    void Blit(IDirect3DBaseTexture9* texture, const D3DXVECTOR4& value);
    // Overlay0 for n below 1, Overlay1 from 1 on.
    void Overlay(int n);
    void MotionBlur(const RenderTargetEntry& colour, const RenderTargetEntry& velocity);
    // The same with the velocity in the part region of its target, from the top-left corner.
    void MotionBlur(const RenderTargetEntry& colour, const RenderTargetEntry& velocity, postfx::BlurSize region);
    void DepthToNormal(const RenderTargetEntry& input);
    // Needs a current scene with an active camera.
    void AmbientOcclusion(const RenderTargetEntry& normalDepth);
    // AmbientOcclusion into occlusion (bound here) for AmbientOcclusionCombine: at half its size, in
    // its top-left corner, when occlusionAtHalfSize says so, else whole.
    void AmbientOcclusionBuffer(const RenderTargetEntry& normalDepth, const RenderTargetEntry& occlusion);
    // The colour darkened by the occlusion AmbientOcclusionBuffer drew, smoothed over about four
    // pixels a side.
    void AmbientOcclusionCombine(const RenderTargetEntry& occlusion, const RenderTargetEntry& colour);
    // Blurs colour by depth through a and b (at least one horizontal and vertical pair), then
    // draws the result into the target and viewport the caller had bound.
    void DepthOfField(const RenderTargetEntry& depth, const RenderTargetEntry& a, const RenderTargetEntry& b,
                      const RenderTargetEntry& colour, int passes);
    // count rounds of a vertical blur into scratch and a horizontal one back into image, which is
    // left bound to slot 0 (nothing at all for count 0). From three rounds on, an image with an
    // even side of at least 64 texels and a scratch of at least its halved size is blurred as far
    // in as many passes drawn mostly at a half or a quarter of its size, in corners of the two.
    void Blur(const RenderTargetEntry& image, const RenderTargetEntry& scratch, int count);
    // One round of Blur for a velocity field that MotionBlur reads: at half size in the image's
    // top-left corner (PlanHalfSizeRound) when velocityAtHalfSize says so, else whole. Returns the
    // part of the image that holds the result, for MotionBlur.
    postfx::BlurSize BlurVelocityRound(const RenderTargetEntry& image, const RenderTargetEntry& scratch);
    // Downsamples source into the four levels, each from the previous, blurred level, and draws
    // source with their glow, faded towards white by fade, into the target the caller had bound.
    // The glow is gathered first into the first level's scratch (see bloomLevelsGathered).
    void Bloom(const RenderTargetEntry& source, const std::array<BloomLevel, BloomLevels>& levels, float fade);
    // Adds a point light (world position) to the bound target, lighting the surfaces of the
    // normal-depth map with the colours of colourTarget. A light behind the camera draws nothing.
    // Needs a current scene with an active camera.
    void DrawPointLight(const RenderTargetEntry& normalDepth, const RenderTargetEntry& colourTarget,
                        const D3DXVECTOR3& position, const D3DXVECTOR3& colour, float radius);

    // Adds the lights as DrawPointLight adds each: the picture in tiles of LightTileSize pixels a
    // side, each with the lights whose spheres cover part of it, lightsPerPass of them in each
    // pass over the tile (each light's sphere alone for 1). Puts the viewport back. Needs a
    // current scene with an active camera.
    void DrawPointLights(const RenderTargetEntry& normalDepth, const RenderTargetEntry& colourTarget,
                         std::span<const PointLight> lights);

    // The ambient-occlusion pass's sampling radius and strength. Process-wide, so that a scene's
    // live tweaks reach every user of the pass and outlive scene switches and device resets.
    static float& SampleRadius() { return sampleRadius; }
    static float& SampleDistanceScale() { return sampleDistanceScale; }
    // How Blur and Bloom work out their passes.
    postfx::BlurPlanner blurPlanner = postfx::PlanBlur;
    // How DepthOfField works out its passes.
    postfx::DepthOfFieldPlanner depthOfFieldPlanner = postfx::PlanDepthOfField;
    // The occlusion buffer at half the picture's size: the combine smooths it anyway.
    bool occlusionAtHalfSize = true;
    // Bloom sums its four levels at the first level's size before the full-size pass, which then
    // reads that sum alone; else the full-size pass reads the four levels.
    bool bloomLevelsGathered = true;
    // BlurVelocityRound at half size: the motion blur's streaks follow a smooth field anyway.
    bool velocityAtHalfSize = true;
    // How many lights a pass of DrawPointLights adds, 1 to MostLightsAPass.
    size_t lightsPerPass = MostLightsAPass;

    std::unique_ptr<Quads> screenQuad;
    std::array<D3DXVECTOR3, KernelSize> aoKernel{};
    // Made like aoKernel and sent nowhere; drawing it keeps the shared sequence where the show
    // expects it.
    std::array<D3DXVECTOR3, SpareKernelSize> spareKernel{};
    std::unique_ptr<DXMesh> lightSphere;

private:
    void Loaded(const char* operation) const;
    static const Camera& ActiveCamera(const char* operation);
    // Writes the rays to the camera's far plane into the quad's normals. False when the lock found
    // the device lost and the framework reset it: the module has been loaded anew and the
    // operation draws nothing this time.
    bool WriteFarPlaneRays(const Camera& camera, int line);
    void DrawQuad(const std::string& technique);
    // What every light pass reads: the effect active, the picture's size, the normal-depth and
    // colour targets, the camera's up direction and far plane.
    void SetLightInputs(const RenderTargetEntry& normalDepth, const RenderTargetEntry& colourTarget,
                        const Camera& camera);
    // One pass of a planned blur: from a corner of one target into a corner of another.
    void DrawPlannedPass(const RenderTargetEntry& from, postfx::BlurSize fromRegion, const RenderTargetEntry& to,
                         postfx::BlurSize toRegion, float step, const std::string& technique);
    // The planner's passes, with "postfx" active.
    void DrawBlur(const RenderTargetEntry& image, const RenderTargetEntry& scratch, int count);
    void DrawBlurPasses(const RenderTargetEntry& image, const RenderTargetEntry& scratch,
                        const std::vector<postfx::BlurPass>& passes);

    static inline float sampleRadius = 0.2f;
    static inline float sampleDistanceScale = 8.0f;
};
