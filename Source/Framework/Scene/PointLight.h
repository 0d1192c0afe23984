// A light that shines in every direction, moved by the curves name + "X", "Y" and "Z".
#pragma once

#include "Framework/Scene/Light.h"
#include "Framework/Scene/Vec3Curve.h"

#include <memory>

class PointLight : public Light {
public:
    // The range of every point light; scene files give none.
    static constexpr float Radius = 100.0f;

    // Loads the position curves; when any of the three is missing the light stays where it is.
    PointLight(const std::string& name, const D3DXVECTOR4& colour, const D3DXVECTOR3& position, bool castShadows);

    void update(float t) override;

    std::unique_ptr<Vec3Curve> positionCurves; // null for a static light
};
