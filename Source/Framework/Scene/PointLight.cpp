#include "Framework/Scene/PointLight.h"

PointLight::PointLight(const std::string& name, const D3DXVECTOR4& colour, const D3DXVECTOR3& position,
                       bool castShadows)
    : Light(name, colour, position, Radius, castShadows), positionCurves(std::make_unique<Vec3Curve>(name))
{
    if (!positionCurves->Load())
        positionCurves.reset();
}

void PointLight::update(float t)
{
    if (!positionCurves)
        return;
    positionCurves->Update(t);
    position = positionCurves->value;
}
