// The seven part scenes of the show, one design with different data (PartSceneData): the particle
// field seen through the scene's cameras, with per-pixel motion blur from a velocity buffer, the
// screen filter over it and a bloom that fades to white with the sync track "WhiteFade".
#pragma once

#include "Demo/Scenes/PartSceneData.h"
#include "Demo/Scenes/FamilyScene.h"

class PartScene : public FamilyScene {
public:
    // The intro creates the particle field module "ParticleField" here.
    explicit PartScene(const PartSceneData& data);

    // Fetches "WhiteFade" and reads the scene file; the intro registers the family's effects
    // "EasiestFilterEver", "Tindrevik" and "Default" in between.
    void Load() override;
    // Holds "Color", the two velocity fields and the four bloom levels with their scratch targets.
    void Activate() override;
    void Deactivate() override;
    // Resets the particles to this scene's colours.
    void Start() override;
    // Moves the particles from this scene's emitters and the screen filter on by a step.
    void Step() override;
    // Sorts the particles for the frame's camera.
    void Update() override;
    void Render() override;
    // The intro and the end draw no background: their particles leave trails over last frame.
    bool DrawsOverLastPicture() const override { return !data.ramp; }
    void RenderTrails() override;
    void SeedTrails() override;

    const PartSceneData& data;

protected:
    void CheckReloadedLights(const LightsByName& candidate) const override;

private:
    // The background (a ramp) or last frame's faded picture, and the particles over it; seeding
    // the trails, the picture dropped and each speck drawn as the trail it leaves standing still.
    void DrawParticles(PostEffects& post, bool seedTrails = false);
};
