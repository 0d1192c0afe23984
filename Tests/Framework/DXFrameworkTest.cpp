#include "Support/FrameworkFailure.h"
#include "Support/ShowFixture.h"

#include "Framework/DeviceCall.h"
#include "Framework/EntryPoint.h"
#include "Framework/ModuleHandler/ModuleHandler.h"
#include "Platform/Window/MessagePump.h"
#include "Framework/FrameworkSupportFailed.h"
#include "Framework/Notice.h"
#include "Framework/RenderTargetResources/RTHandler/RTHandler.h"
#include "Framework/Scene/AnimCurve.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Framework/Timer/Timer.h"

#include <algorithm>

namespace {

std::string SupportFailure(DXFramework& framework)
{
    try {
        framework.CreateDevice();
    } catch (const FrameworkSupportFailed& e) {
        return e.message;
    }
    return "(passed)";
}

} // namespace

using DXFrameworkTest = ShowFixture;

TEST_F(DXFrameworkTest, ServicesAreSingletonsAndSoIsTheFramework)
{
    MountShow();
    auto framework = MakeFramework();
    EXPECT_EQ(DXFramework::Instance(), framework.get());
    try {
        MakeFramework();
        FAIL() << "no exception";
    } catch (const FrameworkEx& e) {
        EXPECT_EQ(e.message, "Framework is a singleton and can only have 1 instance!");
    }
    framework.reset();
    EXPECT_EQ(DXFramework::Instance(), nullptr);
    EXPECT_EQ(SceneHandler::Instance(), nullptr);
    EXPECT_EQ(recorder->Direct3DObjectsAlive(), 0u);
}

TEST_F(DXFrameworkTest, FailedConstructionLeavesNothingBehind)
{
    try {
        MakeFramework(); // no archive
        FAIL() << "no exception";
    } catch (const FrameworkEx& e) {
        EXPECT_EQ(e.message.rfind("Failure: Could not open \"basefile.dat\" when reading database\n", 0), 0u)
            << e.message;
    }
    EXPECT_EQ(DXFramework::Instance(), nullptr);
    MountShow();
    EXPECT_NO_THROW(MakeFramework()) << "a second attempt finds no stale singleton";
}

TEST_F(DXFrameworkTest, EachCapabilityCheckFailsWithItsOwnText)
{
    MountShow();
    const std::vector<std::pair<std::function<void(D3DCAPS9&)>, std::string>> cases = {
        {[](D3DCAPS9& c) { c.NumSimultaneousRTs = 3; }, "Number of simultaneous render targets < 4"},
        {[](D3DCAPS9& c) { c.PrimitiveMiscCaps &= ~D3DPMISCCAPS_MRTPOSTPIXELSHADERBLENDING; },
         "No multiple rendertarge post pixel shader blending allowed."},
        {[](D3DCAPS9& c) { c.VertexShaderVersion = D3DVS_VERSION(2, 0); }, "VertexShaderVersion < 3.0."},
        {[](D3DCAPS9& c) { c.PixelShaderVersion = D3DPS_VERSION(2, 0); }, "PixelShaderVersion < 3.0."},
        {[](D3DCAPS9& c) { c.MaxTextureWidth = 1024; }, "MaxTextureWidth < 2048."},
        {[](D3DCAPS9& c) { c.MaxTextureHeight = 2047; }, "MaxTextureHeight < 2048."},
        {[](D3DCAPS9& c) { c.TextureCaps &= ~D3DPTEXTURECAPS_CUBEMAP; }, "Cubemaps not allowed."},
        {[](D3DCAPS9& c) { c.TextureCaps &= ~D3DPTEXTURECAPS_VOLUMEMAP; }, "Volumemaps not allowed."},
        {[](D3DCAPS9& c) { c.TextureCaps |= D3DPTEXTURECAPS_SQUAREONLY; }, "Textures can only be squares."},
        {[](D3DCAPS9& c) { c.TextureCaps = (c.TextureCaps | D3DPTEXTURECAPS_POW2) & ~D3DPTEXTURECAPS_NONPOW2CONDITIONAL; },
         "Your gfx adaptor does not support non-power-of-two textures in any reasonable way."},
        {[](D3DCAPS9& c) { c.VertexShaderVersion = 0x12340300; }, "(passed)"}, // only the version bytes count
    };
    for (const auto& [weaken, message] : cases) {
        recorder->Config() = RecorderConfig{};
        weaken(recorder->Config().caps);
        auto framework = MakeFramework();
        framework->CreateMainWindow();
        EXPECT_EQ(SupportFailure(*framework), message);
    }

    recorder->Config() = RecorderConfig{};
    std::erase_if(recorder->Config().formats, [](const FormatSupport& f) { return f.format == D3DFMT_A16B16G16R16F; });
    auto framework = MakeFramework();
    framework->CreateMainWindow();
    EXPECT_EQ(SupportFailure(*framework), "No post pixel shader blending allowed on D3DFMT_A16B16G16R16F.");
}

TEST_F(DXFrameworkTest, FailedDeviceCreationNamesTheCodeAndTheCallSite)
{
    MountShow();
    recorder->FailCall(Op::CreateDevice, 0, E_OUTOFMEMORY);
    auto framework = MakeFramework();
    framework->CreateMainWindow();
    try {
        framework->CreateDevice();
        FAIL() << "no exception";
    } catch (const FrameworkEx& e) {
        EXPECT_EQ(e.message, "Error: E_OUTOFMEMORY\n\n.\\Source\\Framework\\DXFramework.cpp : 1295");
    }
    EXPECT_EQ(DeviceCallMessage(0x12345678 | int(0x80000000), {".\\x.cpp", 7}), "Error: UNKNOWN ERROR!\n\n.\\x.cpp : 7");
}

// A call the device front refused says why after the program's own lines; a failure the front did
// not make (the backend's) leaves the message as it was, even after an earlier refusal.
TEST_F(DXFrameworkTest, ARefusedDeviceCallNamesItsCheckAfterTheCallSite)
{
    MountShow();
    auto framework = MakeFramework();
    framework->CreateMainWindow();
    framework->CreateDevice();
    IDirect3DDevice9* device = DXFramework::device;
    const std::string site = ".\\Tests\\Framework\\DXFrameworkTest.cpp : ";
    const int refusedLine = __LINE__ + 1;
    EXPECT_EQ(FrameworkFailure([&] { DEVICE_CALL(device->SetRenderTarget(0, nullptr)); }),
              "Error: D3DERR_INVALIDCALL\n\n" + site + std::to_string(refusedLine) +
                  "\n\nSetRenderTarget refused (RenderTargetZeroUnset): render target 0 cannot be unset");
    recorder->FailCall(Op::Clear, recorder->Count(Op::Clear), D3DERR_INVALIDCALL);
    const int injectedLine = __LINE__ + 1;
    EXPECT_EQ(FrameworkFailure([&] { DEVICE_CALL(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0)); }),
              "Error: D3DERR_INVALIDCALL\n\n" + site + std::to_string(injectedLine));
}

TEST_F(DXFrameworkTest, LetterboxBarsAreClearedAroundThePicture)
{
    MountShow();
    auto framework = MakeFramework();
    framework->settings.multiSampleType = 0;
    framework->CreateMainWindow();
    framework->CreateDevice();
    framework->CreateDeviceResources();

    auto clearedViewports = [&] {
        std::vector<std::array<DWORD, 4>> viewports;
        for (size_t i = 0; i < recorder->Count(Op::Clear); ++i) {
            const D3DVIEWPORT9& v = recorder->Bound(Op::Clear, i).viewport;
            viewports.push_back({v.X, v.Y, v.Width, v.Height});
        }
        return viewports;
    };
    framework->BeginFrame();
    EXPECT_EQ(clearedViewports(), (std::vector<std::array<DWORD, 4>>{{0, 75, 800, 450}, {0, 0, 800, 75}, {0, 525, 800, 75}}));
    EXPECT_EQ(recorder->Call<Op::Clear>(0).Flags, DWORD(D3DCLEAR_TARGET));
    EXPECT_EQ(recorder->Call<Op::Clear>(0).Color, D3DCOLOR(0));

    framework->SetLetterboxViewport();
    D3DVIEWPORT9 viewport;
    DXFramework::device->GetViewport(&viewport);
    EXPECT_EQ(viewport.Y, 75u);
    EXPECT_EQ(viewport.Height, 450u);

    framework->Shutdown();
}

TEST_F(DXFrameworkTest, AWiderBackBufferCentresThePictureBetweenBarsAtBothSides)
{
    MountShow();
    auto framework = MakeFramework("--nosetup --size 840x360");
    framework->settings.multiSampleType = 0;
    framework->CreateMainWindow();
    framework->CreateDevice();
    framework->CreateDeviceResources();
    framework->BeginFrame();
    std::vector<std::array<DWORD, 4>> cleared;
    for (size_t i = 0; i < recorder->Count(Op::Clear); ++i) {
        const D3DVIEWPORT9& v = recorder->Bound(Op::Clear, i).viewport;
        cleared.push_back({v.X, v.Y, v.Width, v.Height});
    }
    EXPECT_EQ(cleared, (std::vector<std::array<DWORD, 4>>{{100, 0, 640, 360}, {0, 0, 100, 360}, {740, 0, 100, 360}}));

    framework->SetLetterboxViewport();
    D3DVIEWPORT9 viewport;
    DXFramework::device->GetViewport(&viewport);
    EXPECT_EQ((std::array<DWORD, 4>{viewport.X, viewport.Y, viewport.Width, viewport.Height}),
              (std::array<DWORD, 4>{100, 0, 640, 360}));
    framework->Shutdown();
}

TEST_F(DXFrameworkTest, NoBarsWhenThePictureFillsTheBackBuffer)
{
    MountShow();
    auto framework = MakeFramework("--nosetup --size 1280x720");
    framework->settings.multiSampleType = 0;
    EXPECT_EQ(framework->settings.renderHeight, 720u);
    framework->CreateMainWindow();
    framework->CreateDevice();
    framework->CreateDeviceResources();
    framework->BeginFrame();
    EXPECT_EQ(recorder->Count(Op::Clear), 1u);
    framework->Shutdown();
}

TEST_F(DXFrameworkTest, DeviceResourcesAreMadeInOrderAndTheClockRestarts)
{
    MountShow();
    auto framework = MakeFramework();
    SceneHandler::Instance()->AddScene(std::make_unique<LoggingScene>("Test", log));
    ModuleHandler::Instance()->AddModule(std::make_unique<LoggingModule>("PostFX", log));
    framework->CreateMainWindow();
    framework->CreateDevice();
    Timer::SetTime(50.0, 0.0);
    framework->CreateDeviceResources();
    EXPECT_LT(Timer::GetElapsed(), 1.0);
    EXPECT_EQ(log, (std::vector<std::string>{"Activate Test", "Deactivate Test", "LoadModule PostFX", "Load Test"}));

    // Four samples by default: a multisampled depth surface and a plain one for off-screen targets.
    ASSERT_EQ(recorder->Count(Op::CreateDepthStencilSurface), 2u);
    EXPECT_EQ(recorder->Call<Op::CreateDepthStencilSurface>(0).MultiSample, D3DMULTISAMPLE_4_SAMPLES);
    EXPECT_EQ(recorder->Call<Op::CreateDepthStencilSurface>(0).Width, 2048u);
    EXPECT_EQ(recorder->Call<Op::CreateDepthStencilSurface>(1).MultiSample, D3DMULTISAMPLE_NONE);
    EXPECT_NE(framework->resolveDepthSurface, framework->depthSurface);

    log.clear();
    framework->Shutdown();
    EXPECT_EQ(log, (std::vector<std::string>{"Unload Test", "ReleaseModule PostFX"}));
    EXPECT_EQ(framework->depthSurface, nullptr);
    EXPECT_EQ(DXFramework::device, nullptr);
    EXPECT_EQ(recorder->Direct3DObjectsAlive(), 0u) << "every device object was released";
    framework->Shutdown(); // a second shutdown finds nothing to do
}

TEST_F(DXFrameworkTest, LostDeviceAtPresentIsResetAndTheShowClockStartsAgain)
{
    MountShow();
    recorder->FailCall(Op::Present, 2, D3DERR_DEVICELOST);
    auto framework = MakeFramework("--nosetup --seek 60");
    auto scene = std::make_unique<LoggingScene>("Test", log, 6);
    LoggingScene* test = scene.get();
    SceneHandler::Instance()->AddScene(std::move(scene));
    ModuleHandler::Instance()->AddModule(std::make_unique<LoggingModule>("PostFX", log));

    framework->Run();

    EXPECT_EQ(test->framesRendered, 6);
    ASSERT_EQ(test->renderTimes.size(), 6u);
    EXPECT_GE(test->renderTimes[2], 60.0);
    EXPECT_LT(test->renderTimes[3], 1.0) << "the clock restarted at 0 after the reset";
    const std::vector<std::string> expected = {"Activate Test", "Deactivate Test", "LoadModule PostFX", "Load Test",
                                               // the first frame switches from the last scene added:
                                               "Deactivate Test", "Activate Test", "Start Test",
                                               // Present 2 reported the lost device:
                                               "Unload Test", "ReleaseModule PostFX", "Activate Test",
                                               "Deactivate Test", "LoadModule PostFX", "Load Test",
                                               // the end of the run:
                                               "Unload Test", "ReleaseModule PostFX"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(recorder->Count(Op::Reset), 1u);
}

TEST_F(DXFrameworkTest, OutOfVideoMemoryGetsItsOwnBox)
{
    MountShow();
    recorder->FailCall(Op::CreateDevice, 0, D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(RunShow(nullptr, "--nosetup", ShowTitle, [](DXFramework&) {}, RecorderDirect3DCreator(recorder)), 1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Out of video memory|Try reducing the number of multisamples, reduce resolution, or check "
                        "the VRAM box.");
}

// The core reports a missing curve as a notice; while the framework lives the viewer sees it as the
// message box it always was, once per run, and afterwards nothing reaches the message boxes.
TEST_F(DXFrameworkTest, TheFirstMissingCurveIsShownInAMessageBoxWhileTheFrameworkLives)
{
    MountShow();
    resetMissingCurveReport();
    auto framework = MakeFramework();
    auto first = registerCurve("Camera1.translateX");
    auto second = registerCurve("Camera1.translateY");
    EXPECT_FALSE(ensureLoaded(*first));
    EXPECT_FALSE(ensureLoaded(*second));
    EXPECT_EQ(boxes, (std::vector<std::string>{"File not found|No animCurve found in filesystem corresponding to "
                                               "registered curve: \"Camera1.translateX\".\n(Skipping further "
                                               "error messages)"}));
    framework.reset();
    ReportNotice("After", "the framework");
    EXPECT_EQ(boxes.size(), 1u) << "a notice after the framework goes to standard error";
    resetMissingCurveReport();
}

TEST_F(DXFrameworkTest, EntryPointBoxesCarryTheirCaptions)
{
    MountShow();
    auto run = [&](std::function<void()> fail) {
        boxes.clear();
        return RunShow(nullptr, "--nosetup", ShowTitle, [&](DXFramework&) { fail(); }, RecorderDirect3DCreator(recorder));
    };
    EXPECT_EQ(run([] { throw FrameworkEx("D3DERR_OUTOFVIDEOMEMORY"); }), 1);
    EXPECT_EQ(boxes, (std::vector<std::string>{"Framework exception|D3DERR_OUTOFVIDEOMEMORY"}))
        << "without the \"Error: \" prefix the code is not recognised";
    EXPECT_EQ(run([] { throw FrameworkSupportFailed("Cubemaps not allowed."); }), 1);
    EXPECT_EQ(boxes, (std::vector<std::string>{"Fuckings from your hardware|Cubemaps not allowed."}));
    EXPECT_EQ(run([] { throw std::runtime_error("boom"); }), 1);
    EXPECT_EQ(boxes, (std::vector<std::string>{"std::exception caught in main()|boom"}));
    EXPECT_EQ(run([] { throw 42; }), 1);
    EXPECT_EQ(boxes, (std::vector<std::string>{"Exception caught in main()|Unknown exception"}));
    EXPECT_EQ(DXFramework::Instance(), nullptr);
}

TEST_F(DXFrameworkTest, MissingArchiveEndsTheRunWithTheMessageOnStandardError)
{
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunShow(nullptr, "--nosetup", ShowTitle, [](DXFramework&) {}, RecorderDirect3DCreator(recorder)), 1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find(
                  "Failure: Could not open \"basefile.dat\" when reading database"),
              std::string::npos);
}

TEST_F(DXFrameworkTest, EscapeEndsTheShowAndTheWindowsDestroyPostsNoSecondQuit)
{
    MountShow();
    auto framework = MakeFramework();
    SceneHandler::Instance()->AddScene(std::make_unique<LoggingScene>("Test", log));
    framework->CreateMainWindow();
    DXFramework::WndProc(framework->window, WM_KEYDOWN, VK_ESCAPE, 0);
    MSG message;
    ASSERT_TRUE(PeekMessage(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, UINT(WM_QUIT));
    framework->Shutdown();
    EXPECT_FALSE(PeekMessage(&message, nullptr, 0, 0, PM_REMOVE)) << "the shutdown's WM_DESTROY is ignored";

    DXFramework::WndProc(nullptr, WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_TRUE(framework->minimized);
    DXFramework::WndProc(nullptr, WM_SYSKEYDOWN, VK_F1 + 3, 0);
    EXPECT_FALSE(PeekMessage(&message, nullptr, 0, 0, PM_REMOVE)) << "Alt+F4 does not end the show";
}

TEST(LaunchOptionsTest, ParsesTheOptionsAndNamesWhatIsWrong)
{
    EXPECT_TRUE(ParseLaunchOptions("x--nosetupy").skipSetup);
    const LaunchOptions options = ParseLaunchOptions("--windowed --size 1280x720 --seek 37.5");
    EXPECT_EQ(options.fullscreen, std::optional<bool>(false));
    EXPECT_EQ(options.width, std::optional<unsigned>(1280));
    EXPECT_EQ(options.seekSeconds, 37.5);
    EXPECT_FALSE(options.dev);
    EXPECT_TRUE(ParseLaunchOptions("--nosetup --dev").dev);
    auto messageOf = [](const std::string& line) {
        try {
            ParseLaunchOptions(line);
        } catch (const FrameworkEx& e) {
            return e.message;
        }
        return std::string("(accepted)");
    };
    EXPECT_EQ(messageOf("--size 12x9"), "--size \"12x9\": expected WxH from 16x16 to 8192x8192");
    EXPECT_EQ(messageOf("--seek"), "Option --seek needs a value (see --help)");
    EXPECT_EQ(messageOf("--seek -3"), "--seek \"-3\": expected a number of seconds from 0");
    EXPECT_EQ(messageOf("--bogus"), "Unknown option \"--bogus\" (see --help)");

    // The program's arguments keep an empty one: it is the size, not the option after it.
    auto messageOfArguments = [&](std::vector<std::string> arguments) {
        std::vector<char*> argv{const_cast<char*>("quiet-lantern")};
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        return messageOf(CommandLineOf(static_cast<int>(argv.size()), argv.data()));
    };
    EXPECT_EQ(messageOfArguments({"--size", "", "--seek", "5"}), "--size \"\": expected WxH from 16x16 to 8192x8192");
    EXPECT_EQ(messageOfArguments({"--nosetup", ""}), "Unknown option \"\" (see --help)");
    EXPECT_EQ(ParseLaunchOptions("--dev --data work/loose").dataFolder, "work/loose");
    EXPECT_EQ(messageOf("--data work/loose"),
              "--data work/loose: only with --dev (the show itself reads only the archive)");
}
