// The camera shake: fractal one-dimensional gradient noise, a different mix per axis so that the
// three axes never move in step.
#pragma once

#include "Platform/D3DX/D3DXMath.h"

// Five octaves: sum of noise1(x * beta^i) / alpha^i.
float fractalNoise1(float x, float alpha, float beta);

// The unscaled shake offset at noise time t.
D3DXVECTOR3 CameraShake(float t);
