#include "Framework/RenderClasses/BASERENDEROBJECT.h"

#include "Framework/FrameworkEx.h"

BASERENDEROBJECT::BASERENDEROBJECT(const std::string& animationName, int animationFlags)
{
    if (animationFlags == 0)
        return;
    if (animationName.empty())
        throw FrameworkEx("[DXMesh::BASERENDEROBJECT] Missing animation file name");
    nodeAnimation = std::make_unique<NodeAnim>(animationName, static_cast<unsigned>(animationFlags));
    // A curve that fails to load has been reported and evaluates to 0; the object still draws.
    nodeAnimation->Load();
}

BASERENDEROBJECT::~BASERENDEROBJECT() = default;

void BASERENDEROBJECT::Draw()
{
    throw FrameworkEx("[BASERENDEROBJECT] Virtual Draw method not implemented");
}

void BASERENDEROBJECT::UpdateAnimation(float time)
{
    if (!nodeAnimation)
        return;
    nodeAnimation->Update(time);
    worldMatrix = nodeAnimation->current.world;
    previousWorldMatrix = nodeAnimation->previous.world;
}
