#include "Modules/PostEffects/detail/LensPlanes.h"

#include <cmath>

namespace postfx::detail {

namespace {

PlaneExtents PlaneAt(const CameraLens& lens, float distance)
{
    const float halfHeight = std::tan(lens.fieldOfView / 2.0f) * distance;
    return {halfHeight * lens.aspect, halfHeight, distance};
}

} // namespace

PlaneExtents NearPlane(const CameraLens& lens)
{
    return PlaneAt(lens, lens.nearZ);
}

PlaneExtents FarPlane(const CameraLens& lens)
{
    return PlaneAt(lens, lens.farZ);
}

std::array<D3DXVECTOR3, 4> FarPlaneRays(const CameraLens& lens)
{
    const auto [w, h, distance] = FarPlane(lens);
    return {{{-w, h, distance}, {w, h, distance}, {w, -h, distance}, {-w, -h, distance}}};
}

float InFrontOfNearPlane(const CameraLens& lens, const D3DXVECTOR3& viewPoint)
{
    // The corners at z = +near: wound this way the plane's normal is -z, so the distance grows
    // into the picture, counted from the near distance behind the eye. The lights' tests allow
    // two radii either way, which dwarfs that offset.
    const auto [w, h, distance] = NearPlane(lens);
    const D3DXVECTOR3 topLeft{-w, h, distance}, topRight{w, h, distance}, bottomRight{w, -h, distance};
    D3DXPLANE plane;
    D3DXPlaneFromPoints(&plane, &topLeft, &topRight, &bottomRight);
    return plane.a * viewPoint.x + plane.b * viewPoint.y + plane.c * viewPoint.z + plane.d;
}

} // namespace postfx::detail
