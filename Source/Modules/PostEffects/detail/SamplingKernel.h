// The random sampling kernels of the ambient-occlusion pass: vectors in random directions with
// lengths from 0.1 to 1, made from the shared generator, four draws a vector.
#pragma once

#include "Platform/D3DX/D3DXMath.h"

#include <span>

namespace postfx::detail {

// The vector made of the draws r1 .. r4: (c, b, a) normalised, a, b, c from r1, r2, r3 mapped to
// [-1, 1], scaled by r4 mapped to [0.1, 1].
D3DXVECTOR3 KernelVector(int r1, int r2, int r3, int r4);

// Fills the kernel from the next 4 x size draws of CrtRand, in order.
void FillKernel(std::span<D3DXVECTOR3> kernel);

} // namespace postfx::detail
