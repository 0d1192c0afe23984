// Three curves, base name + "X", "Y" and "Z", giving one vector (the scene's point lights).
#pragma once

#include "Framework/Scene/AnimCurve.h"
#include "Platform/D3DX/D3DXMath.h"

#include <memory>
#include <string>

class Vec3Curve {
public:
    explicit Vec3Curve(const std::string& baseName);

    // Loads Z, then Y, then X (all are attempted); true when all three loaded.
    bool Load();
    void Update(float x);

    D3DXVECTOR3 value{0.0f, 0.0f, 0.0f};
    std::unique_ptr<CurveHandle> x, y, z;
};
