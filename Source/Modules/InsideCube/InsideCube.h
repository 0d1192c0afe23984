// Five animated cubes and a flat plane under the fourth one: the plane follows the cube's
// horizontal position and heading, shrinks as it rises and brightens its ambient colour with the
// cube's height, like a glow on the floor. Scenes update it once a frame and draw the cubes and
// the plane in their own passes (DrawCubes, DrawPlane); Draw itself is not for scenes.
#pragma once

#include "Framework/DXMesh/DXMesh.h"
#include "Framework/ModuleHandler/DXModule.h"

#include <array>
#include <memory>

class InsideCube : public DXModule {
public:
    static constexpr int CubeCount = 5;
    static constexpr int FollowedCube = 4; // counted from 1, as the animations are named
    static inline const std::string CubeMesh = "TindreVikCubeShape.x";
    static inline const std::string PlaneMesh = "TindreVikPlaneShape.x";

    explicit InsideCube(std::string name) : DXModule(std::move(name)) {}

    // Cubes 1..5 with their animations "dynamicCube1" .. "dynamicCube5", then the plane.
    void Load() override;
    void Release() override;
    // Moves the cubes to the show time and puts the plane under the followed cube.
    void Update() override;

    void DrawCubes();
    void DrawPlane();

    std::array<std::unique_ptr<DXMesh>, CubeCount> cubes;
    std::unique_ptr<DXMesh> plane;

private:
    void Loaded(const char* operation) const;
};
