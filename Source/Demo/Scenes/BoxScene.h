// The box part: the particle swarm inside the box, through a deferred pipeline: linear depth and a
// normal-depth map of the scene, screen-space ambient occlusion, twenty point lights riding on the
// first twenty particles and one fixed light, the occlusion combined in, depth of field, motion
// blur, the white fade and the screen filter. Z and X tune the occlusion's radius and strength live.
#pragma once

#include "Demo/Scenes/FamilyScene.h"

#include <cstdint>

class BoxScene : public FamilyScene {
public:
    static inline const std::string SceneName = "TindrevikInsideCube";
    static inline const std::string SceneFile = "Tindrevik_boxScene.xml";
    static constexpr uint32_t AOSizeKey = 0x5A;     // Z
    static constexpr uint32_t AOStrengthKey = 0x58; // X
    // From this "WhiteFade" on, the picture is the raw occlusion buffer.
    static constexpr float OcclusionOnly = 2.0f;

    // Registers the swarm "ParticleDance" and the box "BoxEnv".
    BoxScene();

    void Load() override;
    void Activate() override;
    void Deactivate() override;
    // Moves the filter and the swarm on by a step.
    void Step() override;
    // After the frame constants: focuses on the swarm (FocusOnSwarm through the active camera),
    // whatever the cameras' lenses say, sorts the swarm, places the box.
    void Update() override;
    void Render() override;

private:
    void DrawPointLights();
};
