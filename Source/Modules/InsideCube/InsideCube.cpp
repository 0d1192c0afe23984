#include "Modules/InsideCube/InsideCube.h"

#include "Framework/DXEffect/DXEffectHandler.h"
#include "Framework/FrameworkEx.h"
#include "Framework/Timer/Timer.h"

#include <algorithm>

void InsideCube::Load()
{
    for (int i = 0; i < CubeCount; ++i) {
        auto cube = std::make_unique<DXMesh>("dynamicCube" + std::to_string(i + 1),
                                             NodeAnim::Translate | NodeAnim::Rotate | NodeAnim::Scale |
                                                 NodeAnim::PreviousFrame);
        cube->LoadX(CubeMesh);
        cubes[i] = std::move(cube);
    }
    plane = std::make_unique<DXMesh>("", 0);
    plane->LoadX(PlaneMesh);
}

void InsideCube::Release()
{
    for (auto& cube : cubes)
        cube.reset();
    plane.reset();
}

void InsideCube::Loaded(const char* operation) const
{
    if (!plane)
        throw FrameworkEx(std::string("[InsideCube::") + operation + "] The module is not loaded");
}

void InsideCube::Update()
{
    Loaded("Update");
    const float time = static_cast<float>(Timer::GetElapsed());
    for (auto& cube : cubes)
        cube->UpdateAnimation(time);

    const NodeAnim::Pose& followed = cubes[FollowedCube - 1]->nodeAnimation->current;
    const float height = followed.translation.y - 0.5f;
    // Only a cube higher than 1.5 stops shrinking the plane; below the floor it grows.
    const float scale = 1.0f - std::min(height, 1.0f) * 0.6f;

    D3DXMATRIX scaling, rotation, translation, product, world;
    D3DXMatrixScaling(&scaling, scale, scale, scale);
    D3DXMatrixRotationY(&rotation, followed.rotation.y);
    D3DXMatrixTranslation(&translation, followed.translation.x, 0.0f, followed.translation.z);
    D3DXMatrixMultiply(&product, &scaling, &rotation);
    D3DXMatrixMultiply(&world, &product, &translation);

    plane->SetMaterialDiffuse({1.0f, 1.0f, 1.0f, 1.0f});
    plane->SetMaterialAmbient({height, height, height, height});
    plane->worldMatrix = world;
    plane->previousWorldMatrix = world;
}

void InsideCube::DrawCubes()
{
    Loaded("DrawCubes");
    for (auto& cube : cubes)
        DXEffectHandler::DrawObject(*cube);
}

void InsideCube::DrawPlane()
{
    Loaded("DrawPlane");
    DXEffectHandler::DrawObject(*plane);
}
