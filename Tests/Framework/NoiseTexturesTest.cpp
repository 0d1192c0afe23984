#include "Support/ShowFixture.h"

#include "Framework/FileSys/ArchiveWriter.h"
#include "Framework/Noise/NoiseVolume.h"
#include "Platform/D3DX/D3DXFloat16.h"

#include <cmath>
#include <fstream>

namespace {

// The texture bytes the Recorder keeps for the noise volume, slices of packed rows.
std::vector<BYTE> VolumeBytes(const Recorder& recorder, IDirect3DVolumeTexture9& texture)
{
    IDirect3DVolume9* level = nullptr;
    texture.GetVolumeLevel(0, &level);
    auto bytes = recorder.VolumeBytes(*level);
    level->Release();
    return bytes;
}

} // namespace

class NoiseTexturesTest : public ShowFixture {
protected:
    void Start(ArchiveWriter& writer, unsigned renderWidth = 800)
    {
        writer.Add("Data\\events\\Scenes.txt", Bytes("0 Test\n"));
        writer.Add("OShaders\\global.fxo", CompiledGlobalEffect());
        WriteArchive(writer.Build());
        framework = MakeFramework();
        framework->settings.multiSampleType = 0;
        framework->settings.renderWidth = renderWidth;
        framework->CreateMainWindow();
        framework->CreateDevice();
        framework->CreateDeviceResources();
    }
    void TearDown() override
    {
        framework.reset();
        ShowFixture::TearDown();
    }

    std::unique_ptr<DXFramework> framework;
};

TEST_F(NoiseTexturesTest, VolumeOfExactlyOneTableIsTakenFromTheArchiveWhateverThePitch)
{
    recorder->Config().rowPitchAlignment = 256; // rows of 128 bytes then lie 256 bytes apart
    std::vector<unsigned char> table(NoiseVolume::ByteCount);
    for (size_t i = 0; i < table.size(); ++i)
        table[i] = static_cast<unsigned char>(i * 7 + i / 16384);
    ArchiveWriter writer;
    writer.Add("Data\\noise.bin", table);
    Start(writer);

    ASSERT_NE(framework->noiseVolume, nullptr);
    EXPECT_EQ(VolumeBytes(*recorder, *framework->noiseVolume), table);
    EXPECT_FALSE(std::filesystem::exists("Data/noise.bin")) << "nothing is written when the archive has it";
    const auto& created = recorder->Call<Op::CreateVolumeTexture>(0);
    EXPECT_EQ(created.Format, D3DFMT_L8);
    EXPECT_EQ(created.Usage, DWORD(D3DUSAGE_DYNAMIC));
}

#if defined(__SANITIZE_ADDRESS__)
#define QL_SLOW_UNDER_SANITIZERS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QL_SLOW_UNDER_SANITIZERS 1
#endif
#endif

TEST_F(NoiseTexturesTest, VolumeOfAnyOtherSizeIsBakedAndCachedOnDisk)
{
#ifdef QL_SLOW_UNDER_SANITIZERS
    GTEST_SKIP() << "a full bake takes minutes under the sanitizers";
#endif
    ArchiveWriter writer;
    writer.Add("Data\\noise.bin", std::vector<unsigned char>(NoiseVolume::ByteCount - 1, 0x80));
    std::filesystem::create_directories("Data");
    WriteWholeFile("Data/noise.bin", std::vector<unsigned char>(100, 0x80)); // no volume: baked over
    Start(writer);

    const auto baked = VolumeBytes(*recorder, *framework->noiseVolume);
    std::ifstream cache("Data/noise.bin", std::ios::binary);
    const std::vector<unsigned char> cached((std::istreambuf_iterator<char>(cache)), std::istreambuf_iterator<char>());
    EXPECT_EQ(cached.size(), NoiseVolume::ByteCount);
    EXPECT_TRUE(cached == baked) << "the loose file holds the volume's bytes";
    EXPECT_GT(std::count_if(baked.begin(), baked.end(), [&](BYTE b) { return b != baked[0]; }), 1000);
}

TEST_F(NoiseTexturesTest, ALooseFileOfExactlyOneVolumeStandsInForAMissingEntry)
{
    recorder->Config().rowPitchAlignment = 256;
    std::vector<unsigned char> cached(NoiseVolume::ByteCount);
    for (size_t i = 0; i < cached.size(); ++i)
        cached[i] = static_cast<unsigned char>(i * 13 + i / 128);
    std::filesystem::create_directories("Data");
    WriteWholeFile("Data/noise.bin", cached);
    ArchiveWriter writer;
    Start(writer);

    EXPECT_EQ(VolumeBytes(*recorder, *framework->noiseVolume), cached);
}

TEST_F(NoiseTexturesTest, VectorTextureIsAQuarterOfThePictureOfUnitVectors)
{
    ArchiveWriter writer;
    writer.Add("Data\\noise.bin", std::vector<unsigned char>(NoiseVolume::ByteCount, 0));
    Start(writer, 799);

    const auto& created = recorder->Call<Op::CreateTexture>(0);
    EXPECT_EQ(created.Width, 199u);
    EXPECT_EQ(created.Height, 112u);
    EXPECT_EQ(created.Format, D3DFMT_A16B16G16R16F);

    IDirect3DSurface9* level = nullptr;
    framework->noiseVectors->GetSurfaceLevel(0, &level);
    const auto bytes = recorder->SurfaceBytes(*level);
    level->Release();
    ASSERT_EQ(bytes.size(), 199u * 112u * 8u);
    for (size_t texel = 0; texel < 199 * 112; texel += 97) {
        float v[4];
        D3DXFloat16To32Array(v, reinterpret_cast<const D3DXFLOAT16*>(bytes.data() + texel * 8), 4);
        EXPECT_NEAR(std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]), 1.0f, 2e-3f) << texel;
        EXPECT_EQ(v[3], 0.0f);
    }
}
