#include "Framework/Noise/FlowField.h"

#include "Framework/Noise/CrtRand.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

namespace {

constexpr int VortexCount = 60;
// exp(-x) for x above this is below half the smallest subnormal float, so it rounds to 0; the
// maths library returns exactly 0 from -103.97 down.
constexpr float UnderflowExponent = 104.0f;
// Above this exponent a vortex adds less than 54 exp(-80) < 2^-109 to each component (|q| < 1.13
// within UnderflowExponent, and the rotation's rows have unit length), which leaves any sum of at
// least NegligibleBelow unchanged: its half unit in the last place is at least 2^-104. These terms
// would otherwise compute with subnormal floats, many times slower than with normal ones.
constexpr float NegligibleExponent = 80.0f;
constexpr float NegligibleBelow = 0x1p-80f;

// Beyond this squared distance from a vortex's centre the exponent is above UnderflowExponent
// (sqrt(104) / 8 = 1.2748 squared distance, with room for the last bits of the frame's inverse).
constexpr float ReachSquared = 1.28f;

struct Vortex {
    D3DXMATRIX toLocal; // inverse of the vortex frame
    D3DXMATRIX rotation;
    D3DXVECTOR3 centre; // where toLocal puts the origin: a rotation keeps distances from it
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
        const D3DXVECTOR3 centre{r5 * 3.0518509e-5f - 0.5f, r4 * 3.0518509e-5f - 0.5f, (k * 0.033333335f - 1.0f) * 0.8f};
        D3DXMatrixTranslation(&translation, centre.x, centre.y, centre.z);
        D3DXMatrixMultiply(&frame, &rotation, &translation);
        D3DXMatrixInverse(&vortices[k].toLocal, nullptr, &frame);
        vortices[k].rotation = rotation;
        vortices[k].centre = centre;
    }
    return vortices;
}

// The vortices' swirl added to acc at p, leaving out the terms that cannot change it: a vortex
// whose exponential underflows to exactly 0 adds a zero vector (about half the terms, and slow ones,
// since the maths library takes its underflow path for them), and one beyond NegligibleExponent
// adds less than half a unit in the last place of a sum that is not tiny. The distance from the
// centre finds most of them before the vortex's frame is applied.
D3DXVECTOR3 SumVortices(const std::array<Vortex, VortexCount>& vortices, const D3DXVECTOR3& p, D3DXVECTOR3 acc)
{
    for (const Vortex& vortex : vortices) {
        const D3DXVECTOR3 away{p.x - vortex.centre.x, p.y - vortex.centre.y, p.z - vortex.centre.z};
        if (away.x * away.x + away.y * away.y + away.z * away.z > ReachSquared)
            continue;
        D3DXVECTOR4 q;
        D3DXVec3Transform(&q, &p, &vortex.toLocal);
        const float s = q.x * q.x + q.y * q.y + q.z * q.z;
        const float exponent = (8.0f * s) * (8.0f * s);
        if (exponent > UnderflowExponent)
            continue;
        if (exponent > NegligibleExponent && std::fabs(acc.x) >= NegligibleBelow && std::fabs(acc.y) >= NegligibleBelow &&
            std::fabs(acc.z) >= NegligibleBelow)
            continue;
        const float strength = 8.0f * std::exp(-exponent);
        const D3DXVECTOR3 swirl{(-q.x - q.y) * strength, (q.x - q.y) * strength, 0.0f};
        D3DXVECTOR4 turned;
        D3DXVec3Transform(&turned, &swirl, &vortex.rotation);
        acc.x += turned.x;
        acc.y += turned.y;
        acc.z += turned.z;
    }
    return acc;
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

VortexFieldBuild::VortexFieldBuild(FlowField& field, unsigned threadCount)
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
    NURBSVOLUME& grid = *field.grid;

    CrtRand::srand(4658);
    auto vortices = std::make_shared<const std::array<Vortex, VortexCount>>(MakeVortices());

    // Every cell's drift first, in the construction's order of draws; what remains draws nothing,
    // so the cells can be summed on any number of threads, at any time, with the same results.
    for (uint32_t ix = 0; ix < size; ++ix)
        for (uint32_t iy = 0; iy < size; ++iy)
            for (uint32_t iz = 0; iz < size; ++iz) {
                const int r1 = CrtRand::rand();
                const int r2 = CrtRand::rand();
                const int r3 = CrtRand::rand();
                grid.Cell(ix, iy, iz) = D3DXVECTOR3{CrtRand::Signed(r3) * 1.45f, CrtRand::Signed(r2) * 1.45f,
                                                    (-1.0f - static_cast<float>(r1) * 0.00015259255f) * 0.25f};
            }

    const int centre = static_cast<int>(field.size / 2);
    const auto sumSlabs = [&grid, vortices, size, centre](uint32_t firstX, uint32_t xStep) {
        for (uint32_t ix = firstX; ix < size; ix += xStep)
            for (uint32_t iy = 0; iy < size; ++iy)
                for (uint32_t iz = 0; iz < size; ++iz) {
                    const D3DXVECTOR3 p{float(int(ix) - centre) / float(centre), float(int(iy) - centre) / float(centre),
                                        float(int(iz) - centre) / float(centre)};
                    D3DXVECTOR3& cell = grid.Cell(ix, iy, iz);
                    const D3DXVECTOR3 acc = SumVortices(*vortices, p, cell);
                    cell = D3DXVECTOR3{acc.x - 1.5f * p.x, acc.y - 1.5f * p.y, acc.z};
                }
    };
    threadCount = std::clamp(threadCount, 1u, uint32_t{size});
    try {
        for (unsigned t = 0; t < threadCount; ++t)
            workers.emplace_back(sumSlabs, t, threadCount);
    } catch (...) {
        Finish(); // the threads already started, before the failure to start another goes on
        throw;
    }
}

VortexFieldBuild::~VortexFieldBuild()
{
    Finish();
}

void VortexFieldBuild::Finish()
{
    for (std::thread& worker : workers)
        worker.join();
    workers.clear();
}

void BuildVortexField(FlowField& field, unsigned threadCount)
{
    VortexFieldBuild(field, threadCount).Finish();
}

void BuildVortexField(FlowField& field)
{
    BuildVortexField(field, std::max(1u, std::thread::hardware_concurrency()));
}
