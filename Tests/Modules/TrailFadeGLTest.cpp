// The part scenes' particle effect on GL: the trails over last frame's picture fade by the time
// that passed, not by the number of frames, so a picture faded at 20 and at 60 frames a second
// looks the same after the same show time.
#include "PostEffectsFiles.h"
#include "Platform/Gfx/GLPicture.h"
#include "Support/ArchiveFiles.h"
#include "Support/ShowFixture.h"

#include "Framework/DXEffect/DXEffectHandler.h"
#include "Framework/Noise/NoiseVolume.h"
#include "Framework/RenderClasses/Sprites/Sprites.h"
#include "Platform/Gfx/GL/CreateGLDirect3D.h"

#include <cmath>

class TrailFadeGLTest : public ShowFixture {
protected:
    void SetUp() override
    {
        ShowFixture::SetUp();
        ArchiveWriter writer;
        writer.Add("Data\\events\\Scenes.txt", Bytes("0 Test\n"));
        writer.Add("Data\\noise.bin", std::vector<unsigned char>(NoiseVolume::ByteCount, 0x80));
        writer.Add("OShaders\\global.fxo", CompiledShowEffect("global.fx"));
        writer.Add("OShaders\\Tindrevik.fxo", CompiledShowEffect("Tindrevik.fx"));
        WriteArchive(writer.Build());
        framework = std::make_unique<DXFramework>(nullptr, "--nosetup --windowed --size 128x72", "Quiet Lantern",
                                                  GLDirect3DCreator());
        framework->musicEnabled = false;
        framework->settings.multiSampleType = 0;
        framework->CreateMainWindow();
        framework->CreateDevice();
        framework->CreateDeviceResources();
        DXEffectHandler::Instance()->AddEffect("Tindrevik", "Tindrevik.fx", framework->effectPool);
        // One particle, far outside the picture: only the fade's full-screen pass shows.
        sprites = std::make_unique<Sprites>("", 1, 1);
        sprites->SetUniformSize(0.2f);
        const D3DXVECTOR3 far{100.0f, 100.0f, 0.0f};
        ASSERT_EQ(sprites->SetCentres(&far, 1), D3D_OK);
    }

    void TearDown() override
    {
        sprites.reset();
        framework.reset();
        ShowFixture::TearDown();
    }

    // A white back buffer faded for seconds at the frame rate; the grey that is left.
    int FadedGrey(int framesPerSecond, double seconds)
    {
        IDirect3DDevice9& device = *DXFramework::device;
        device.BeginScene();
        device.SetRenderTarget(0, framework->backBuffer);
        device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFFFFFFFF, 1.0f, 0);
        DXEffectHandler::SetActiveEffect("Tindrevik");
        DXEffectHandler::SetTechnique("Particle");
        const int frames = static_cast<int>(std::lround(seconds * framesPerSecond));
        for (int frame = 0; frame < frames; ++frame) {
            DXEffectHandler::SetFloatBySemantic("TRAILFADE", 60.0f / static_cast<float>(framesPerSecond));
            DXEffectHandler::DrawObject(*sprites);
        }
        device.EndScene();
        const GLImage picture = GLReadBackBuffer(device);
        return static_cast<int>(PixelAt(picture, 64, 36) >> 8 & 0xFF);
    }

    std::unique_ptr<DXFramework> framework;
    std::unique_ptr<Sprites> sprites;
};

TEST_F(TrailFadeGLTest, TrailsFadeAlikeAtTwentyAndAtSixtyFramesASecond)
{
    // 0.7 of the picture is left after each sixtieth of a second: 255 x 0.7^6 = 30 after 0.1 s.
    const int slow = FadedGrey(20, 0.1);
    const int fast = FadedGrey(60, 0.1);
    EXPECT_NEAR(slow, 30, 3);
    EXPECT_NEAR(fast, 30, 3);
    EXPECT_NEAR(slow, fast, 3);
    EXPECT_EQ(FadedGrey(60, 0.0), 255) << "nothing fades in no time";
}
