#include "Framework/Noise/FlowField.h"

#include "Framework/Noise/CrtRand.h"

#include <array>
#include <cmath>

namespace {

constexpr int VortexCount = 60;

struct Vortex {
    D3DXMATRIX toLocal; // inverse of the vortex frame
    D3DXMATRIX rotation;
};

float RandomAngle()
{
    return (CrtRand::rand() * 0.00019175345f - 3.1415927f) * 0.15f;
}

std::array<Vortex, VortexCount> MakeVortices()
{
    std::array<Vortex, VortexCount> vortices;
    for (int k = 0; k < VortexCount; ++k) {
        const float roll = RandomAngle();
        const float pitch = RandomAngle();
        const float yaw = RandomAngle();
        D3DXMATRIX rotation, translation, frame;
        D3DXMatrixRotationYawPitchRoll(&rotation, yaw, pitch, roll);
        const float r4 = static_cast<float>(CrtRand::rand());
        const float r5 = static_cast<float>(CrtRand::rand());
        D3DXMatrixTranslation(&translation, r5 * 3.0518509e-5f - 0.5f, r4 * 3.0518509e-5f - 0.5f,
                              (k * 0.033333335f - 1.0f) * 0.8f);
        D3DXMatrixMultiply(&frame, &rotation, &translation);
        D3DXMatrixInverse(&vortices[k].toLocal, nullptr, &frame);
        vortices[k].rotation = rotation;
    }
    return vortices;
}

} // namespace

FlowField::FlowField() : grid(std::make_unique<NURBSVOLUME>(2, 2, 2))
{
    D3DXMatrixIdentity(&worldToGrid);
}

D3DXVECTOR3 FlowField::Sample(const D3DXVECTOR3& worldPoint) const
{
    D3DXVECTOR4 gridPoint;
    D3DXVec3Transform(&gridPoint, &worldPoint, &worldToGrid);
    return grid->SampleNearest(D3DXVECTOR3{gridPoint.x, gridPoint.y, gridPoint.z});
}

void BuildVortexField(FlowField& field)
{
    CrtRand::srand(55800);
    D3DXMATRIX scaling, step;
    D3DXMatrixScaling(&scaling, 10.0f, 10.0f, 10.0f);
    D3DXMatrixInverse(&field.worldToGrid, nullptr, &scaling);
    field.size = 61;
    D3DXMatrixTranslation(&step, 1.0f, 1.0f, 1.0f);
    D3DXMatrixMultiply(&field.worldToGrid, &field.worldToGrid, &step);
    const float half = field.size * 0.5f;
    D3DXMatrixScaling(&step, half, half, half);
    D3DXMatrixMultiply(&field.worldToGrid, &field.worldToGrid, &step);

    field.grid.reset();
    const auto size = static_cast<uint16_t>(field.size);
    field.grid = std::make_unique<NURBSVOLUME>(size, size, size);

    CrtRand::srand(4658);
    const std::array<Vortex, VortexCount> vortices = MakeVortices();

    const int centre = static_cast<int>(field.size / 2);
    for (int ix = 0; ix < static_cast<int>(field.size); ++ix)
        for (int iy = 0; iy < static_cast<int>(field.size); ++iy)
            for (int iz = 0; iz < static_cast<int>(field.size); ++iz) {
                const D3DXVECTOR3 p{float(ix - centre) / float(centre), float(iy - centre) / float(centre),
                                    float(iz - centre) / float(centre)};
                const int r1 = CrtRand::rand();
                const int r2 = CrtRand::rand();
                const int r3 = CrtRand::rand();
                D3DXVECTOR3 acc{CrtRand::Signed(r3) * 1.45f, CrtRand::Signed(r2) * 1.45f,
                                (-1.0f - static_cast<float>(r1) * 0.00015259255f) * 0.25f};
                for (const Vortex& vortex : vortices) {
                    D3DXVECTOR4 q;
                    D3DXVec3Transform(&q, &p, &vortex.toLocal);
                    const float s = q.x * q.x + q.y * q.y + q.z * q.z;
                    const float strength = 8.0f * std::exp(-(8.0f * s) * (8.0f * s));
                    const D3DXVECTOR3 swirl{(-q.x - q.y) * strength, (q.x - q.y) * strength, 0.0f};
                    D3DXVECTOR4 turned;
                    D3DXVec3Transform(&turned, &swirl, &vortex.rotation);
                    acc.x += turned.x;
                    acc.y += turned.y;
                    acc.z += turned.z;
                }
                field.grid->Cell(ix, iy, iz) = D3DXVECTOR3{acc.x - 1.5f * p.x, acc.y - 1.5f * p.y, acc.z};
            }
}
