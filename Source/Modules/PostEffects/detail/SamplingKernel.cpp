#include "Modules/PostEffects/detail/SamplingKernel.h"

#include "Framework/Noise/CrtRand.h"

namespace postfx::detail {

D3DXVECTOR3 KernelVector(int r1, int r2, int r3, int r4)
{
    constexpr float ToScale = 2.7466658e-05f; // 0.9 / 32767
    const float a = CrtRand::Signed(r1);
    const float b = CrtRand::Signed(r2);
    const float c = CrtRand::Signed(r3);
    const D3DXVECTOR3 direction{c, b, a};
    D3DXVECTOR3 unit;
    D3DXVec3Normalize(&unit, &direction);
    const float scale = static_cast<float>(r4) * ToScale + 0.1f;
    return {unit.x * scale, unit.y * scale, unit.z * scale};
}

void FillKernel(std::span<D3DXVECTOR3> kernel)
{
    for (D3DXVECTOR3& vector : kernel) {
        // Separate statements: the order of the draws is part of the show.
        const int r1 = CrtRand::rand();
        const int r2 = CrtRand::rand();
        const int r3 = CrtRand::rand();
        const int r4 = CrtRand::rand();
        vector = KernelVector(r1, r2, r3, r4);
    }
}

} // namespace postfx::detail
