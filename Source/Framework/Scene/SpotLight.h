// A cone of light: placed and turned by the scene file, and animated by the translate and rotate
// curves of the node named like the light.
#pragma once

#include "Framework/Scene/Light.h"
#include "Framework/Scene/NodeAnim.h"

#include <memory>

class SpotLight : public Light {
public:
    // Builds the matrices and loads the node animation; when any of its six curves is missing the
    // light keeps its file pose.
    SpotLight(const std::string& name, const D3DXVECTOR4& colour, const D3DXVECTOR3& position, float radius,
              bool castShadows, float coneAngle, float penumbraAngle, const D3DXVECTOR3& rotation);

    void update(float t) override;

    std::unique_ptr<NodeAnim> animation; // null for a static light
    float coneAngle;
    float penumbraAngle;
    D3DXVECTOR3 rotation; // radians about X, then Y, then Z
    D3DXMATRIX view;      // world to light space
    D3DXMATRIX world;     // light space to world

private:
    void UpdateMatrices();
};
