// The post-processing chain on GL with the show's own PostEffects.fx, usphere.x and cards: fills
// into part of a target, a blur that spreads an edge evenly both ways, bloom with and without its
// fade, normals made from depth, ambient occlusion in a crease, point lights seen from outside and
// from inside their spheres, and the overlays' cards in the letterboxed picture. The pixels read
// back are checked; post-effects-bloom.png, post-effects-occlusion.png, post-effects-light.png
// and post-effects-card-*.png show the pictures.
#include "CardPixels.h"
#include "PostEffectsFiles.h"
#include "Platform/Gfx/GLPicture.h"
#include "Support/ArchiveFiles.h"
#include "Support/ShowFixture.h"
#include "Tools/ToolRun.h"

#include "Framework/DXEffect/DXEffectHandler.h"
#include "Framework/Noise/NoiseVolume.h"
#include "Framework/Scene/Camera.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Modules/PostEffects/PostEffects.h"
#include "Platform/Gfx/GL/CreateGLDirect3D.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

namespace {

constexpr UINT Width = 128;
constexpr UINT Height = 72;

struct Rgb {
    int r, g, b;
};

Rgb ColourAt(const GLImage& image, UINT x, UINT y)
{
    const D3DCOLOR c = PixelAt(image, x, y);
    return {int(c >> 16 & 0xFF), int(c >> 8 & 0xFF), int(c & 0xFF)};
}

int GreyAt(const GLImage& image, UINT x, UINT y)
{
    return ColourAt(image, x, y).g;
}

} // namespace

class PostEffectsGLTest : public ShowFixture {
protected:
    void SetUp() override
    {
        ShowFixture::SetUp();
        // The show's sphere, made as Data/meshes makes it.
        const ToolRun sphere = Invoke(QL_MESHGEN, {"sphere", "24", "16", "-o", "usphere.x"});
        ASSERT_EQ(sphere.exitCode, 0) << sphere.err;
        ArchiveWriter writer;
        // The cards, rendered as Data/cards renders them.
        for (const std::string card : {"TitleCard", "ClosingCard"}) {
            const ToolRun made = Invoke(QL_TEXTCARD, {"--font", QL_CARD_FONT, "--facts", QL_SOURCE_DIR "Data/invitation.txt",
                                                      "--card", QL_SOURCE_DIR "Data/cards/" + card + ".txt", "-o",
                                                      card + ".png"});
            ASSERT_EQ(made.exitCode, 0) << made.err;
            cards.push_back(Bytes(ReadText(card + ".png")));
            writer.Add("Data\\" + card + ".png", cards.back());
        }
        writer.Add("Data\\events\\Scenes.txt", Bytes("0 Test\n"));
        writer.Add("Data\\noise.bin", std::vector<unsigned char>(NoiseVolume::ByteCount, 0x80));
        writer.Add("OShaders\\global.fxo", CompiledShowEffect("global.fx"));
        writer.Add("OShaders\\PostEffects.fxo", CompiledShowEffect("PostEffects.fx"));
        writer.Add("Data\\usphere.x", Bytes(ReadText("usphere.x")));
        for (const auto& [name, bytes] : StillCameraTracks())
            writer.Add(name, bytes);
        WriteArchive(writer.Build());
        Open("--nosetup");
    }

    // The framework on GL with the launch options of commandLine, the module loaded, inside a scene.
    void Open(const std::string& commandLine)
    {
        framework = std::make_unique<DXFramework>(nullptr, commandLine, "Quiet Lantern", GLDirect3DCreator());
        framework->musicEnabled = false;
        framework->settings.multiSampleType = 0;
        framework->CreateMainWindow();
        framework->CreateDevice();
        framework->CreateDeviceResources();
        post.Load();
        ASSERT_EQ(DXFramework::device->BeginScene(), D3D_OK);
    }

    void Close()
    {
        DXFramework::device->EndScene();
        post.Release();
        framework.reset();
    }

    void TearDown() override
    {
        if (DXFramework::device)
            DXFramework::device->EndScene();
        post.Release();
        PostEffects::SampleRadius() = 0.2f;
        framework.reset();
        ShowFixture::TearDown();
    }

    static RenderTargetEntry& Target(D3DFORMAT format, UINT width = Width, UINT height = Height)
    {
        return RTHandler::GetTarget(RTHandler::Acquire({format, width, height}));
    }

    // value over the whole target, then inside over the rectangle (x, y, w, h) when given.
    void Fill(const RenderTargetEntry& target, const D3DXVECTOR4& value, const D3DVIEWPORT9* inside = nullptr,
              const D3DXVECTOR4& insideValue = {})
    {
        RTHandler::BindTarget(0, target);
        post.FillQuad(value);
        if (inside) {
            ASSERT_EQ(DXFramework::device->SetViewport(inside), D3D_OK);
            post.FillQuad(insideValue);
        }
    }

    // The current scene's camera at the origin looking down -z, 90 degrees high, shaped like the
    // targets; the shared matrices and the drawing camera follow it.
    Camera& StillCamera()
    {
        auto scene = std::make_unique<Scene>("Test");
        auto made = std::make_unique<Camera>("Still");
        Camera& camera = *made;
        camera.SetLens({std::numbers::pi_v<float> / 2, 0.1f, 100.0f, 0.0f, 0.0f, float(Width) / float(Height)});
        camera.view = IdentityMatrix();
        camera.viewProjection = camera.projection;
        camera.previousViewProjection = camera.projection;
        scene->cameraSet.Add(std::move(made));
        SceneHandler::Instance()->AddScene(std::move(scene));
        DXEffectHandler::SetCamera({camera.view, camera.viewProjection, camera.previousViewProjection});
        DXEffectHandler::SetActiveEffect("Global");
        DXEffectHandler::SetMatrixBySemantic("VIEW", &camera.view);
        DXEffectHandler::SetMatrixBySemantic("VIEWPROJ", &camera.viewProjection);
        return camera;
    }

    std::unique_ptr<DXFramework> framework;
    PostEffects post;
    std::vector<std::vector<unsigned char>> cards; // the PNGs of TitleCard and ClosingCard
};

TEST_F(PostEffectsGLTest, FillsBlurAndBloomSpreadLightEvenlyAndFadeTowardsWhite)
{
    RenderTargetEntry& image = Target(D3DFMT_A8R8G8B8);
    RenderTargetEntry& scratch = Target(D3DFMT_A8R8G8B8);
    const D3DVIEWPORT9 square{56, 28, 16, 16, 0.0f, 1.0f}; // columns and rows 56..71, 28..43
    Fill(image, {0, 0, 0, 1}, &square, {1, 1, 1, 1});
    const GLImage filled = GLReadSurface(*image.surface);
    EXPECT_EQ(PixelAt(filled, 56, 28), D3DCOLOR_XRGB(255, 255, 255));
    EXPECT_EQ(PixelAt(filled, 71, 43), D3DCOLOR_XRGB(255, 255, 255));
    EXPECT_EQ(PixelAt(filled, 55, 28), D3DCOLOR_XRGB(0, 0, 0));
    EXPECT_EQ(PixelAt(filled, 56, 44), D3DCOLOR_XRGB(0, 0, 0));

    post.Blur(image, scratch, 1);
    const GLImage blurred = GLReadSurface(*image.surface);
    EXPECT_EQ(GreyAt(blurred, 63, 35), 255) << "the middle is farther from the edges than the blur reaches";
    EXPECT_EQ(GreyAt(blurred, 10, 10), 0);
    const int outsideLeft = GreyAt(blurred, 55, 35), insideLeft = GreyAt(blurred, 56, 35);
    EXPECT_GT(outsideLeft, 40);
    EXPECT_LT(outsideLeft, 128);
    EXPECT_GT(insideLeft, 128);
    EXPECT_LT(insideLeft, 230);
    // The same spread on every side: the kernel is symmetric and both directions were blurred.
    for (const auto& [x, y] : {std::pair{72u, 35u}, {63u, 27u}, {63u, 44u}})
        EXPECT_NEAR(GreyAt(blurred, x, y), outsideLeft, 3) << x << ", " << y;
    EXPECT_NEAR(GreyAt(blurred, 71, 35), insideLeft, 3);

    // Bloom of a small bright square into a target of its own.
    RenderTargetEntry& source = Target(D3DFMT_A8R8G8B8);
    const D3DVIEWPORT9 spot{60, 32, 8, 8, 0.0f, 1.0f};
    Fill(source, {0, 0, 0, 1}, &spot, {1, 1, 1, 1});
    std::vector<RenderTargetEntry*> levels;
    for (UINT i = 1; i <= 4; ++i) {
        levels.push_back(&Target(D3DFMT_A8R8G8B8, Width >> i, Height >> i));
        levels.push_back(&Target(D3DFMT_A8R8G8B8, Width >> i, Height >> i));
    }
    const std::array<PostEffects::BloomLevel, 4> pairs = {
        {{*levels[0], *levels[1]}, {*levels[2], *levels[3]}, {*levels[4], *levels[5]}, {*levels[6], *levels[7]}}};
    RenderTargetEntry& output = Target(D3DFMT_X8R8G8B8);

    RTHandler::BindTarget(0, output);
    post.Bloom(source, pairs, 0.0f);
    const GLImage unfaded = GLReadSurface(*output.surface);
    EXPECT_EQ(GreyAt(unfaded, 63, 35), 255) << "fade 0 gives the picture back";
    EXPECT_EQ(GreyAt(unfaded, 58, 35), 0);
    EXPECT_EQ(GreyAt(unfaded, 2, 2), 0);

    RTHandler::BindTarget(0, output);
    post.Bloom(source, pairs, 0.5f);
    const GLImage bloomed = GLReadSurface(*output.surface);
    SavePng(bloomed, "post-effects-bloom.png");
    EXPECT_EQ(GreyAt(bloomed, 63, 35), 255);
    const int corner = GreyAt(bloomed, 2, 2), near = GreyAt(bloomed, 56, 35), nearer = GreyAt(bloomed, 58, 35);
    EXPECT_GE(corner, 63) << "lifted by fade squared towards white";
    EXPECT_LT(corner, 80);
    EXPECT_GT(near, corner + 5) << "the glow around the square";
    EXPECT_GT(nearer, near);
    EXPECT_NEAR(GreyAt(bloomed, 69, 35), nearer, 4) << "and it spreads evenly";
}

TEST_F(PostEffectsGLTest, BlursAtReducedSizeGiveThePicturesOfTheirRoundsAtFullSize)
{
    // White on black: lone texels, small and large squares, bars along the borders.
    const auto pattern = [&](const RenderTargetEntry& target) {
        Fill(target, {0, 0, 0, 1});
        const UINT w = target.width, h = target.height;
        for (const D3DVIEWPORT9& spot : {D3DVIEWPORT9{w / 6, h / 4, 1, 1, 0, 1}, {w / 6 + 7, h / 4 + 2, 1, 1, 0, 1},
                                         {w / 3, h / 3, 3, 3, 0, 1}, {w / 2, h / 5, 12, 9, 0, 1}, {0, h - 20, w, 4, 0, 1},
                                         {w - 2, 0, 2, h / 2, 0, 1}}) {
            ASSERT_EQ(DXFramework::device->SetViewport(&spot), D3D_OK);
            post.FillQuad({1, 1, 1, 1});
        }
    };
    // Blur's four rounds of the velocity field and Bloom's levels (the first two reduced).
    const auto blurred = [&](bool fullSize) {
        post.blurPlanner = fullSize ? postfx::BlurRounds : postfx::PlanBlur;
        RenderTargetEntry& image = Target(D3DFMT_A8R8G8B8);
        pattern(image);
        post.Blur(image, Target(D3DFMT_A8R8G8B8), 4);
        return GLReadSurface(*image.surface);
    };
    const auto bloomed = [&](bool fullSize) {
        post.blurPlanner = fullSize ? postfx::BlurRounds : postfx::PlanBlur;
        RenderTargetEntry& source = Target(D3DFMT_A8R8G8B8, 2 * Width, 2 * Height);
        pattern(source);
        std::array<RenderTargetEntry*, 8> levels;
        for (UINT i = 0; i < 8; ++i)
            levels[i] = &Target(D3DFMT_A8R8G8B8, Width >> (i / 2), Height >> (i / 2));
        RenderTargetEntry& output = Target(D3DFMT_X8R8G8B8, 2 * Width, 2 * Height);
        RTHandler::BindTarget(0, output);
        post.Bloom(source, {{{*levels[0], *levels[1]}, {*levels[2], *levels[3]}, {*levels[4], *levels[5]},
                             {*levels[6], *levels[7]}}},
                   0.3f);
        return GLReadSurface(*output.surface);
    };
    const std::pair<const char*, std::function<GLImage(bool)>> pictures[] = {{"blur", blurred}, {"bloom", bloomed}};
    for (const auto& [name, picture] : pictures) {
        const GLImage rounds = picture(true), halved = picture(false);
        SavePng(rounds, std::string("post-effects-") + name + "-rounds.png");
        SavePng(halved, std::string("post-effects-") + name + "-halved.png");
        double squares = 0.0;
        int largest = 0;
        size_t where = 0;
        for (size_t i = 0; i < rounds.bgra.size(); ++i) {
            const int difference = std::abs(int(rounds.bgra[i]) - int(halved.bgra[i]));
            squares += double(difference * difference);
            if (difference > largest)
                largest = difference, where = i;
        }
        const double psnr = 10.0 * std::log10(255.0 * 255.0 * double(rounds.bgra.size()) / std::max(squares, 1.0));
        const std::string at = std::to_string(where / 4 % rounds.width) + ", " + std::to_string(where / 4 / rounds.width);
        EXPECT_GE(psnr, 45.0) << name;
        // Most at the borders, which every round at full size clamps anew.
        EXPECT_LE(largest, 16) << name << ": PSNR " << psnr << " dB, at " << at << " "
                              << int(rounds.bgra[where]) << " against " << int(halved.bgra[where]);
    }
}

TEST_F(PostEffectsGLTest, NormalsFromDepthFollowASlantedPlaneAndOcclusionDarkensOnlyTheCrease)
{
    StillCamera();
    // A plane through (0, 0, -10) turned 20 degrees about y, its normal (sin, 0, cos) towards the
    // camera: along a pixel's ray (x * aspect, y, -1) it lies at depth 10 cos / (cos - sin x aspect).
    IDirect3DTexture9* slant = nullptr;
    ASSERT_EQ(DXFramework::device->CreateTexture(Width, Height, 1, 0, D3DFMT_R32F, D3DPOOL_MANAGED, &slant, nullptr),
              D3D_OK);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(slant->LockRect(0, &locked, nullptr, 0), D3D_OK);
    const float sine = std::sin(0.34906585f), cosine = std::cos(0.34906585f), aspect = float(Width) / float(Height);
    for (UINT y = 0; y < Height; ++y) {
        auto* row = reinterpret_cast<float*>(static_cast<unsigned char*>(locked.pBits) + y * locked.Pitch);
        for (UINT x = 0; x < Width; ++x) {
            const float ndcX = (float(x) + 0.5f) / float(Width) * 2.0f - 1.0f;
            row[x] = 10.0f * cosine / (cosine - sine * ndcX * aspect);
        }
    }
    ASSERT_EQ(slant->UnlockRect(0), D3D_OK);

    RenderTargetEntry& depth = Target(D3DFMT_R32F);
    RenderTargetEntry& normalDepth = Target(D3DFMT_A32B32G32R32F);
    RTHandler::BindTarget(0, depth);
    post.Blit(slant, {1, 1, 1, 1});
    slant->Release();
    RTHandler::BindTarget(0, normalDepth);
    post.DepthToNormal(depth);
    const GLImage slanted = GLReadSurface(*normalDepth.surface); // channels clamped to [0, 1]
    for (const auto& [x, y] : {std::pair{64u, 36u}, {5u, 5u}, {120u, 60u}, {0u, 0u}, {127u, 71u}}) {
        const Rgb normal = ColourAt(slanted, x, y);
        EXPECT_NEAR(normal.r, 87, 3) << x << ", " << y; // 255 sin 20
        EXPECT_NEAR(normal.g, 0, 3) << x << ", " << y;
        EXPECT_NEAR(normal.b, 240, 3) << x << ", " << y; // 255 cos 20
    }

    // A box 2 in front of a wall at 10: normals stay flat right up to its edges, and the wall
    // darkens only next to the box.
    const D3DVIEWPORT9 box{40, 20, 48, 32, 0.0f, 1.0f}; // columns and rows 40..87, 20..51
    Fill(depth, {10, 10, 10, 10}, &box, {8, 8, 8, 8});
    RTHandler::BindTarget(0, normalDepth);
    post.DepthToNormal(depth);
    const GLImage flat = GLReadSurface(*normalDepth.surface);
    for (const auto& [x, y] : {std::pair{39u, 30u}, {40u, 30u}, {87u, 30u}, {88u, 30u}, {60u, 19u}, {60u, 20u}}) {
        const Rgb normal = ColourAt(flat, x, y);
        EXPECT_EQ(normal.r + normal.g, 0) << x << ", " << y;
        EXPECT_EQ(normal.b, 255) << x << ", " << y;
    }

    PostEffects::SampleRadius() = 2.0f; // about seven pixels at the wall
    // Drawn at half size and combined from there.
    RenderTargetEntry& occlusion = Target(D3DFMT_A8R8G8B8);
    post.AmbientOcclusionBuffer(normalDepth, occlusion);
    RenderTargetEntry& white = Target(D3DFMT_A8R8G8B8);
    RenderTargetEntry& combined = Target(D3DFMT_X8R8G8B8);
    Fill(white, {1, 1, 1, 1});
    RTHandler::BindTarget(0, combined);
    post.AmbientOcclusionCombine(occlusion, white);
    const GLImage occluded = GLReadSurface(*combined.surface);
    SavePng(occluded, "post-effects-occlusion.png");

    // Averages along a column of the wall beside the box's left edge, one far from it, and one
    // on the box.
    const auto column = [&](UINT x) {
        int sum = 0;
        for (UINT y = 24; y < 48; ++y)
            sum += GreyAt(occluded, x, y);
        return sum / 24;
    };
    const int open = column(12);
    EXPECT_GT(open, 245) << "the open wall";
    EXPECT_GT(column(60), 245) << "the top of the box";
    EXPECT_LT(column(38), open - 20) << "the wall in the box's shadow";
}

TEST_F(PostEffectsGLTest, PointLightsLightTheWallFromOutsideTheirSphereAndFromInsideIt)
{
    const Camera& camera = StillCamera();
    RenderTargetEntry& normalDepth = Target(D3DFMT_A32B32G32R32F);
    RenderTargetEntry& albedo = Target(D3DFMT_A8R8G8B8);
    RenderTargetEntry& lit = Target(D3DFMT_X8R8G8B8);
    Fill(albedo, {1.0f, 0.5f, 0.25f, 1.0f});

    // A wall at 10 facing the camera, a light 1 in front of it reaching 3: drawn from outside,
    // with the depth test against the depth of the light's centre, which only the sphere's near
    // faces pass.
    Fill(normalDepth, {0, 0, 1, 10});
    RTHandler::BindTarget(0, lit);
    D3DXVECTOR4 centre;
    const D3DXVECTOR3 lightCentre{0.0f, 0.0f, -9.0f};
    D3DXVec3Transform(&centre, &lightCentre, &camera.projection);
    ASSERT_EQ(DXFramework::device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_XRGB(0, 0, 0),
                                         centre.z / centre.w, 0),
              D3D_OK);
    post.DrawPointLight(normalDepth, albedo, lightCentre, {1.0f, 1.0f, 1.0f}, 3.0f);
    const GLImage outside = GLReadSurface(*lit.surface);
    SavePng(outside, "post-effects-light.png");
    // The wall's nearest point: (1 - 1/3)^2 of the light, head on, plus a little bounced light.
    const Rgb middle = ColourAt(outside, 64, 36);
    EXPECT_NEAR(middle.r, 119, 4);
    EXPECT_NEAR(middle.g, 60, 3) << "the albedo colours the light";
    EXPECT_NEAR(middle.b, 30, 3);
    // Lit within sqrt(3^2 - 1^2) = 2.83 of the middle: 10 pixels at this distance, 3.6 a unit.
    EXPECT_GT(ColourAt(outside, 64 + 8, 36).r, 0);
    EXPECT_EQ(ColourAt(outside, 64 + 12, 36).r, 0);
    EXPECT_EQ(ColourAt(outside, 2, 2).r, 0);
    // Pixels 63 - k and 64 + k lie alike about the middle of the picture.
    EXPECT_NEAR(ColourAt(outside, 63 - 6, 36).r, ColourAt(outside, 64 + 6, 36).r, 3);
    EXPECT_NEAR(ColourAt(outside, 64, 35 - 6).r, ColourAt(outside, 64, 36 + 6).r, 3);

    // The camera inside the sphere of a light reaching 4, the wall at 3: the far faces light it
    // even where the depth buffer would hide everything.
    Fill(normalDepth, {0, 0, 1, 3});
    RTHandler::BindTarget(0, lit);
    ASSERT_EQ(DXFramework::device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_XRGB(0, 0, 0), 0.0f,
                                         0),
              D3D_OK);
    post.DrawPointLight(normalDepth, albedo, {0.0f, 0.0f, -1.0f}, {1.0f, 1.0f, 1.0f}, 4.0f);
    const GLImage inside = GLReadSurface(*lit.surface);
    EXPECT_NEAR(ColourAt(inside, 64, 36).r, 67, 3) << "(1 - 2/4)^2 of the light and the bounce";
    EXPECT_GT(ColourAt(inside, 64 + 30, 36).r, 0);
    EXPECT_EQ(ColourAt(inside, 0, 0).r, 0) << "the corners lie beyond the light's reach";
}

TEST_F(PostEffectsGLTest, TheOverlaysShowTheirCardsTextWhereTheCardPutsItInTheLetterboxedPicture)
{
    // Overlay n at a time its card is fully shown, over a black picture, in a back buffer of the
    // picture's own shape, in a taller one that letterboxes it and in a 21:9 one that centres it
    // between bars at both sides.
    const std::pair<int, float> shown[] = {{0, 6.0f}, {1, 128.0f}};
    for (const std::string size : {"640x360", "640x480", "840x360"}) {
        Close();
        Open("--nosetup --windowed --size " + size);
        ASSERT_TRUE(boxes.empty()) << boxes.front();
        for (const auto& [overlay, time] : shown) {
            DXFramework& show = *framework;
            ASSERT_EQ(DXFramework::device->SetRenderTarget(0, show.backBuffer), D3D_OK);
            ASSERT_EQ(DXFramework::device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_XRGB(0, 0, 0), 1.0f, 0), D3D_OK);
            show.SetLetterboxViewport();
            DXEffectHandler::SetActiveEffect("Global");
            DXEffectHandler::SetFloatBySemantic("TIME", time);
            post.Overlay(overlay);
            const GLImage picture = GLReadBackBuffer(*DXFramework::device);
            const std::string name = "post-effects-card-" + std::to_string(overlay) + "-" + size + ".png";
            SavePng(picture, name);

            const CardPixels pixels = SortCardPixels(DecodeCard(cards[overlay]), picture, show.settings);
            EXPECT_GT(pixels.text.size(), 500u) << name;
            EXPECT_GT(Least(pixels.text), 160.0) << name << ": the text is bright wherever the card covers a pixel";
            EXPECT_LE(Largest(pixels.clear), 2.0) << name << ": nothing shows where the card has no text";
        }
    }
}
