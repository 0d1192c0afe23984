// What the screen-space lighting passes need of a camera's lens: the extents of its near and far
// planes, the rays from the eye to the far plane's corners, and how far a view-space point lies in
// front of the near plane. View space is the show's right-handed one: the camera looks down -z.
#pragma once

#include "Framework/Scene/CameraLens.h"
#include "Platform/D3DX/D3DXMath.h"

#include <array>

namespace postfx::detail {

struct PlaneExtents {
    float halfWidth;
    float halfHeight;
    float distance;
};

PlaneExtents NearPlane(const CameraLens& lens);
PlaneExtents FarPlane(const CameraLens& lens);

// (x, y, far) towards the far plane's corners in the order of the screen quad's corners: top
// left, top right, bottom right, bottom left.
std::array<D3DXVECTOR3, 4> FarPlaneRays(const CameraLens& lens);

// The signed distance of a view-space point from the plane z = +near (through the near plane's
// corner extents): near minus z, positive in front of the camera and growing into the picture.
float InFrontOfNearPlane(const CameraLens& lens, const D3DXVECTOR3& viewPoint);

} // namespace postfx::detail
