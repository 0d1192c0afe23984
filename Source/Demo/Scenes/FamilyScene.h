// What the show's scenes share beyond Scene: the "WhiteFade" track, the four bloom levels, the
// copy of the letterboxed picture into a target, the velocity blur and motion blur into the back
// buffer, the screen filter over the picture and the bloom that fades it towards white.
#pragma once

#include "Framework/SceneHandler/Scene.h"
#include "Modules/PostEffects/PostEffects.h"

#include <array>
#include <string>

class DXModule;
class SpotLight;
class SyncTrack;

class FamilyScene : public Scene {
public:
    using Scene::Scene;

    const SyncTrack* whiteFade = nullptr;

protected:
    static constexpr int VelocityBlurRounds = 4;

    // Fetches "WhiteFade" through the framework's sync device.
    void LoadWhiteFade();
    // "WhiteFade" at the current row; any value but exactly 0 (a NaN too) runs the fade.
    float WhiteFade() const;

    // The particles' three emitters: spot lights of the scene file, among the scene's lights or
    // those given. FrameworkEx naming the file and the light when one is missing or not a spot
    // light, from where ("Step").
    std::array<const SpotLight*, 3> FindEmitters(const std::array<std::string, 3>& names,
                                                 const std::string& sceneFile) const;
    std::array<const SpotLight*, 3> FindEmitters(const std::array<std::string, 3>& names, const std::string& sceneFile,
                                                 const LightsByName& among, const std::string& where) const;

    // "bloom_<level>_a" and "_b" for levels 1 to 4, each level half the size of the one before.
    void AddBloomTargets();
    std::array<PostEffects::BloomLevel, PostEffects::BloomLevels> BloomLevels() const;

    // The framework's depth surface and back buffer as target 0, with the letterbox viewport.
    static void BindBackBuffer();
    // The letterboxed picture of the back buffer into the named target.
    void CopyPictureTo(const std::string& targetName) const;

    // The family's finish: the velocity field blurred through its scratch target, the colour
    // target motion-blurred along it into the back buffer, and that picture copied back into the
    // colour target for the screen filter to read.
    void MotionBlurIntoBackBuffer(PostEffects& post, const std::string& colour, const std::string& velocity,
                                  const std::string& velocityScratch);
    // The screen filter over the back buffer, reading the picture from the named target.
    void DrawScreenFilter(DXModule& filter, const std::string& background) const;
    // When WhiteFade is not 0: the picture copied into source, then bloomed and faded by the
    // track's value into the back buffer.
    void FadeToWhite(PostEffects& post, const std::string& source);

    // How much of last frame's picture the particle effect's first pass fades away: trails that
    // die away at the same speed whatever the frame rate, or none. Seeding drops the picture and
    // draws each speck as the whole trail it would leave standing still.
    static void SetParticleTrails(bool trails, bool seed = false);
};
