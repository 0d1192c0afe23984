// The framework's two noise textures: the tileable noise volume bound as "NOISETEX" (read from the
// archive; when the archive lacks it, from the loose file an earlier bake left, or baked and left
// in that file) and the screen-sized texture of random unit vectors bound as "NOISEVECTEX".
#include "Framework/DXFramework.h"

#include "Framework/DeviceCall.h"
#include "Framework/FileSys/ArchiveWriter.h"
#include "Framework/FileSys/FileSys.h"
#include "Framework/FrameworkEx.h"
#include "Framework/Noise/CrtRand.h"
#include "Framework/Noise/NoiseVolume.h"
#include "Platform/D3DX/D3DXFloat16.h"
#include "Platform/D3DX/D3DXMath.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <thread>
#include <vector>

namespace {

const char* const ArchiveEntry = "Data\\noise.bin";
const char* const CacheFile = "Data/noise.bin";

// Copies packed rows (edge bytes each) into a locked box with its own pitches, or back.
void CopyRows(uint8_t* box, const D3DLOCKED_BOX& locked, const uint8_t* packed, bool intoBox)
{
    const unsigned edge = NoiseVolume::Edge;
    for (unsigned z = 0; z < edge; ++z)
        for (unsigned y = 0; y < edge; ++y) {
            uint8_t* row = box + size_t(z) * locked.SlicePitch + size_t(y) * locked.RowPitch;
            const uint8_t* packedRow = packed + (size_t(z) * edge + y) * edge;
            if (intoBox)
                std::memcpy(row, packedRow, edge);
            else
                std::memcpy(const_cast<uint8_t*>(packedRow), row, edge);
        }
}

bool PackedPitches(const D3DLOCKED_BOX& locked)
{
    return locked.RowPitch == int(NoiseVolume::Edge) && locked.SlicePitch == int(NoiseVolume::Edge * NoiseVolume::Edge);
}

// The volume an earlier run baked, when the file holds exactly one: without it every start without
// the archive entry would bake again, for about a second.
bool ReadCache(uint8_t* bits, const D3DLOCKED_BOX& locked)
{
    std::error_code missing;
    if (std::filesystem::file_size(CacheFile, missing) != NoiseVolume::ByteCount || missing)
        return false;
    const std::vector<uint8_t> packed = ReadWholeFile(CacheFile);
    if (packed.size() != NoiseVolume::ByteCount)
        return false; // replaced while being read: bake instead
    CopyRows(bits, locked, packed.data(), true);
    return true;
}

// Keeps the baked volume for the next run, so that it can also be packed into the archive. The
// file is whole or absent; one that cannot be written costs only the next run's bake, and the show
// goes on without it.
void WriteCache(const D3DLOCKED_BOX& locked)
{
    std::vector<uint8_t> packed(NoiseVolume::ByteCount);
    CopyRows(static_cast<uint8_t*>(locked.pBits), locked, packed.data(), false);
    std::error_code ignored;
    std::filesystem::create_directories("Data", ignored);
    try {
        WriteWholeFile(CacheFile, packed);
    } catch (const FrameworkEx&) {
    }
}

} // namespace

void DXFramework::CreateNoiseVolume()
{
    const unsigned edge = NoiseVolume::Edge;
    DEVICE_CALL(device->CreateVolumeTexture(edge, edge, edge, 1, D3DUSAGE_DYNAMIC, D3DFMT_L8, D3DPOOL_DEFAULT,
                                            &noiseVolume, nullptr));
    IDirect3DVolume9* level = nullptr;
    DEVICE_CALL(noiseVolume->GetVolumeLevel(0, &level));
    D3DLOCKED_BOX locked{};
    DEVICE_CALL(level->LockBox(&locked, nullptr, D3DLOCK_DISCARD));
    auto* bits = static_cast<uint8_t*>(locked.pBits);

    // The entry is read only when it is exactly one volume, so it can never overrun the box.
    const FileSys& files = *FileSys::Instance();
    if (files.GetSize(ArchiveEntry) == NoiseVolume::ByteCount) {
        if (PackedPitches(locked)) {
            files.ReadFile(ArchiveEntry, bits);
        } else {
            std::vector<uint8_t> packed(NoiseVolume::ByteCount);
            files.ReadFile(ArchiveEntry, packed.data());
            CopyRows(bits, locked, packed.data(), true);
        }
    } else if (!ReadCache(bits, locked)) {
        NoiseVolume::Bake(bits, edge, size_t(locked.RowPitch), size_t(locked.SlicePitch),
                          std::max(1u, std::thread::hardware_concurrency()));
        WriteCache(locked);
    }
    DEVICE_CALL(level->UnlockBox());
    level->Release();
}

void DXFramework::CreateNoiseVectors()
{
    const UINT width = settings.renderWidth / 4, height = settings.renderHeight / 4;
    DEVICE_CALL(device->CreateTexture(width, height, 1, D3DUSAGE_DYNAMIC, D3DFMT_A16B16G16R16F, D3DPOOL_DEFAULT,
                                      &noiseVectors, nullptr));
    D3DLOCKED_RECT locked{};
    DEVICE_CALL(noiseVectors->LockRect(0, &locked, nullptr, D3DLOCK_DISCARD));
    // Rows start at the pitch rounded down to whole texels of 8 bytes.
    const size_t rowPitch = size_t(locked.Pitch) & ~size_t(7);
    auto* rows = static_cast<uint8_t*>(locked.pBits);
    for (UINT y = 0; y < height; ++y) {
        auto* texel = reinterpret_cast<D3DXFLOAT16*>(rows + y * rowPitch);
        for (UINT x = 0; x < width; ++x, texel += 4) {
            D3DXVECTOR3 direction;
            direction.x = CrtRand::Signed(CrtRand::rand());
            direction.y = CrtRand::Signed(CrtRand::rand());
            direction.z = CrtRand::Signed(CrtRand::rand());
            D3DXVec3Normalize(&direction, &direction);
            const float values[4] = {direction.x, direction.y, direction.z, 0.0f};
            D3DXFloat32To16Array(texel, values, 4);
        }
    }
    DEVICE_CALL(noiseVectors->UnlockRect(0));
}
