#include "Framework/Scene/SpotLight.h"

#include "Framework/Scene/Placement.h"

SpotLight::SpotLight(const std::string& name, const D3DXVECTOR4& colour, const D3DXVECTOR3& position, float radius,
                     bool castShadows, float coneAngle, float penumbraAngle, const D3DXVECTOR3& rotation)
    : Light(name, colour, position, radius, castShadows),
      coneAngle(coneAngle),
      penumbraAngle(penumbraAngle),
      rotation(rotation)
{
    UpdateMatrices();
    animation = std::make_unique<NodeAnim>(name, NodeAnim::Translate | NodeAnim::Rotate);
    if (!animation->Load())
        animation.reset();
}

void SpotLight::update(float t)
{
    if (!animation)
        return;
    animation->Update(t);
    position = animation->current.translation;
    rotation = animation->current.rotation;
    UpdateMatrices();
}

void SpotLight::UpdateMatrices()
{
    PlacementMatrices(EulerRotation(rotation), position, view, world);
}
