// Locks on the GL backend: what goes up at unlock comes back at the next lock, rectangles and boxes
// change only what they cover, and Direct3D's byte layouts survive GL's formats.
#include "Platform/Gfx/GLDeviceFixture.h"

#include <cstring>

namespace {

class GLLockTest : public GLDeviceFixture {};

uint8_t Pattern(UINT x, UINT y, UINT z, UINT byte)
{
    return static_cast<uint8_t>(x * 31 + y * 17 + z * 7 + byte * 3 + 1);
}

TEST_F(GLLockTest, DynamicTextureKeepsWhatADiscardingLockWroteAndARectangleChangesOnlyItself)
{
    CreateDevice(16, 16);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(8, 4, 1, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr),
              D3D_OK);
    textures.push_back(texture);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, D3DLOCK_DISCARD), D3D_OK);
    ASSERT_GE(locked.Pitch, 8 * 4);
    for (UINT y = 0; y < 4; ++y) {
        for (UINT x = 0; x < 32; ++x) {
            static_cast<uint8_t*>(locked.pBits)[y * locked.Pitch + x] = Pattern(x, y, 0, 0);
        }
    }
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);

    const RECT rect{2, 1, 5, 3};
    ASSERT_EQ(texture->LockRect(0, &locked, &rect, 0), D3D_OK);
    for (UINT y = 0; y < 2; ++y) {
        std::memset(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch, 0xAB, 3 * 4);
    }
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);

    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    for (UINT y = 0; y < 4; ++y) {
        for (UINT x = 0; x < 32; ++x) {
            const bool inside = y >= 1 && y < 3 && x >= 2 * 4 && x < 5 * 4;
            EXPECT_EQ(static_cast<uint8_t*>(locked.pBits)[y * locked.Pitch + x], inside ? 0xAB : Pattern(x, y, 0, 0))
                << "byte " << x << " of row " << y;
        }
    }
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
}

TEST_F(GLLockTest, HalfFloatTextureLevelsKeepTheirBytes)
{
    CreateDevice(16, 16);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(4, 4, 0, 0, D3DFMT_A16B16G16R16F, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    textures.push_back(texture);
    ASSERT_EQ(texture->GetLevelCount(), 3u);
    for (UINT level = 0; level < 3; ++level) {
        const UINT size = 4 >> level;
        D3DLOCKED_RECT locked;
        ASSERT_EQ(texture->LockRect(level, &locked, nullptr, 0), D3D_OK);
        for (UINT y = 0; y < size; ++y) {
            auto* row = reinterpret_cast<uint16_t*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch);
            for (UINT channel = 0; channel < size * 4; ++channel) {
                // Finite halves from 0x3C00 (1.0) up: every one survives RGBA16F unchanged.
                row[channel] = static_cast<uint16_t>(0x3C00 + level * 256 + y * 16 + channel);
            }
        }
        ASSERT_EQ(texture->UnlockRect(level), D3D_OK);
    }
    for (UINT level = 0; level < 3; ++level) {
        const UINT size = 4 >> level;
        D3DLOCKED_RECT locked;
        ASSERT_EQ(texture->LockRect(level, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
        for (UINT y = 0; y < size; ++y) {
            const auto* row = reinterpret_cast<const uint16_t*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch);
            for (UINT channel = 0; channel < size * 4; ++channel) {
                EXPECT_EQ(row[channel], 0x3C00 + level * 256 + y * 16 + channel) << "level " << level;
            }
        }
        ASSERT_EQ(texture->UnlockRect(level), D3D_OK);
    }
}

TEST_F(GLLockTest, DynamicL8VolumeKeepsItsSlicesAndABoxChangesOnlyItself)
{
    CreateDevice(16, 16);
    IDirect3DVolumeTexture9* volume = nullptr;
    ASSERT_EQ(device->CreateVolumeTexture(8, 4, 3, 1, D3DUSAGE_DYNAMIC, D3DFMT_L8, D3DPOOL_DEFAULT, &volume, nullptr),
              D3D_OK);
    D3DLOCKED_BOX locked;
    ASSERT_EQ(volume->LockBox(0, &locked, nullptr, D3DLOCK_DISCARD), D3D_OK);
    for (UINT z = 0; z < 3; ++z) {
        for (UINT y = 0; y < 4; ++y) {
            for (UINT x = 0; x < 8; ++x) {
                static_cast<uint8_t*>(locked.pBits)[z * locked.SlicePitch + y * locked.RowPitch + x] = Pattern(x, y, z, 0);
            }
        }
    }
    ASSERT_EQ(volume->UnlockBox(0), D3D_OK);

    const D3DBOX box{1, 1, 3, 3, 1, 2};
    ASSERT_EQ(volume->LockBox(0, &locked, &box, 0), D3D_OK);
    for (UINT y = 0; y < 2; ++y) {
        std::memset(static_cast<uint8_t*>(locked.pBits) + y * locked.RowPitch, 0xEE, 2);
    }
    ASSERT_EQ(volume->UnlockBox(0), D3D_OK);

    ASSERT_EQ(volume->LockBox(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    for (UINT z = 0; z < 3; ++z) {
        for (UINT y = 0; y < 4; ++y) {
            for (UINT x = 0; x < 8; ++x) {
                const bool inside = z == 1 && y >= 1 && y < 3 && x >= 1 && x < 3;
                EXPECT_EQ(static_cast<uint8_t*>(locked.pBits)[z * locked.SlicePitch + y * locked.RowPitch + x],
                          inside ? 0xEE : Pattern(x, y, z, 0))
                    << x << ", " << y << ", " << z;
            }
        }
    }
    ASSERT_EQ(volume->UnlockBox(0), D3D_OK);
    volume->Release();
}

} // namespace
