// A light of a scene file: colour, place, range and whether it casts shadows. Kinds add their own
// shape and animation.
#pragma once

#include "Platform/D3DX/D3DXMath.h"

#include <string>

class BASERENDEROBJECT;

class Light {
public:
    Light(const std::string& name, const D3DXVECTOR4& colour, const D3DXVECTOR3& position, float radius,
          bool castShadows)
        : colour(colour), position(position), radius(radius), castShadows(castShadows), name(name)
    {
    }
    virtual ~Light() = default;
    Light(const Light&) = delete;
    Light& operator=(const Light&) = delete;

    // Follows the light's animation to t seconds of the show; a light without one stays put.
    virtual void update(float t) = 0;
    // The show draws its lights in its own passes, never through this.
    virtual void draw() {}

    D3DXVECTOR4 colour; // r, g, b, a
    D3DXVECTOR3 position;
    float radius;
    BASERENDEROBJECT* sphere = nullptr; // the mesh drawn for the light; not owned
    bool castShadows;
    const std::string name;
};
