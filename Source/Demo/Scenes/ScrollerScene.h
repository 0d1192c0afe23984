// The scroller part: the folding text lines running over five animated metal cubes and a floor
// glow, lit by five orbiting point lights, with the particle field both in the picture (hidden
// behind the cubes and the text) and reflected in the cubes through an environment cube map drawn
// afresh every frame; then the family's velocity blur, motion blur, screen filter and white fade.
#pragma once

#include "Demo/Scenes/FamilyScene.h"
#include "Modules/ParticleField/ParticleField.h"

#include <array>

class ScrollerScene : public FamilyScene {
public:
    static inline const std::string SceneName = "TindrevikScroller";
    static inline const std::string SceneFile = "Tindrevik_scrollerScene.xml";
    static const ParticleColours StartColours;
    static const ParticleColours RecolourColours;
    static constexpr double RecolourTime = 51.0;
    static constexpr int LightCount = 5;
    // Where the lights start; light i turns about y at (1 + 0.1 i) x 0.2 radians a second.
    static const std::array<D3DXVECTOR3, LightCount> LightBases;

    // Registers the scroller "TindrevikScroller", the cubes "TindreVik" and the screen filter
    // "EasiestFilterEver": built before the show registers its own filter, so this one is kept.
    ScrollerScene();

    void Load() override;
    // Holds the environment cube "EnvCube" (environmentEdge texels a side), then the family's
    // targets.
    void Activate() override;
    void Deactivate() override;
    void Start() override;
    // Moves the particles from the scene's emitters and the filter; once per run, past 51 s,
    // recolours (and so empties) the particle field.
    void Step() override;
    // Sorts the particles for the frame's camera; the cubes and the scroller follow the clock.
    void Update() override;
    void Render() override;

    // Where light i (0-based) is at the show time t.
    static D3DXVECTOR3 LightPosition(int i, double t);

    // Set once the 51-second recolouring has happened; never cleared by the scene, so that it
    // happens once per run whatever the scene switches and device resets.
    bool recoloured = false;

    // The edge of the environment cube's faces: the specks in it are soft, and the cubes mirror
    // them smaller than the faces' texels, so the picture holds at a quarter of the earlier 512.
    static constexpr uint32_t EnvironmentEdge = 128;
    uint32_t environmentEdge = EnvironmentEdge;
    // The earlier way, which the benchmarks and the stills' comparison keep: the solid picture
    // drawn into the back buffer, copied into "Color" and the solids' depth drawn once more there
    // for the particles. The picture is now drawn into "Color" itself, with its depth.
    bool solidsThroughBackBuffer = false;

protected:
    void CheckReloadedLights(const LightsByName& candidate) const override;

private:
    void RenderEnvironment();
    // Background, metal cubes, the text's colour pass and the floor glow, into the bound target.
    void DrawSolids(PostEffects& post);
    void RenderSolidsIntoColour(PostEffects& post);
    void RenderSolidsThroughBackBuffer(PostEffects& post);
};
