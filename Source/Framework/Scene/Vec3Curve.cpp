#include "Framework/Scene/Vec3Curve.h"

Vec3Curve::Vec3Curve(const std::string& baseName)
    : x(registerCurve(baseName + "X")), y(registerCurve(baseName + "Y")), z(registerCurve(baseName + "Z"))
{
}

bool Vec3Curve::Load()
{
    const bool loadedZ = ensureLoaded(*z);
    const bool loadedY = ensureLoaded(*y);
    const bool loadedX = ensureLoaded(*x);
    return loadedX && loadedY && loadedZ;
}

void Vec3Curve::Update(float time)
{
    value.x = evaluate(*x, time);
    value.y = evaluate(*y, time);
    value.z = evaluate(*z, time);
}
