#include "Framework/DXFramework.h"

#include "Framework/BASSPlayer/BASSPlayer.h"
#include "Framework/DXEffect/DXEffectHandler.h"
#include "Framework/DeviceCall.h"
#include "Framework/FileSys/FileSys.h"
#include "Framework/FrameworkEx.h"
#include "Framework/Input/KeyHandler.h"
#include "Framework/Input/Mouse.h"
#include "Framework/LiveReload/LiveData.h"
#include "Framework/LiveReload/ReloadHub.h"
#include "Framework/ModuleHandler/ModuleHandler.h"
#include "Framework/Noise/CrtRand.h"
#include "Framework/Noise/GradientNoise.h"
#include "Framework/Notice.h"
#include "Framework/RenderTargetResources/RSHandler/RSHandler.h"
#include "Framework/RenderTargetResources/RTCubeHandler/RTCubeHandler.h"
#include "Framework/RenderTargetResources/RTHandler/RTHandler.h"
#include "Framework/SceneHandler/SceneHandler.h"
#include "Framework/SetupDialog/SetupDialog.h"
#include "Framework/Timer/DemoSyncTimer.h"
#include "Framework/Timer/Timer.h"
#include "Framework/Transport/Overlay.h"
#include "Framework/Transport/SceneWarmUp.h"
#include "Framework/Transport/Transport.h"
#include "Platform/Gfx/GfxBackend.h"
#include "Platform/Window/MessageBox.h"
#include "Platform/Window/MessagePump.h"
#include "Platform/Window/Window.h"
#include "sync/device.h"

#include <filesystem>
#include <iostream>
#include <optional>

namespace {

const char* const SourcePath = ".\\Source\\Framework\\DXFramework.cpp";
const CallSite PresentSite{SourcePath, 386};

constexpr uint32_t WindowedStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr uint32_t WindowedExStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
constexpr uint32_t FullscreenStyle = WS_POPUP;
constexpr uint32_t FullscreenExStyle = WS_EX_APPWINDOW;

// Reload failures on the overlay: what fits beside the picture at small sizes.
constexpr size_t OverlayProblemWidth = 96;
constexpr size_t OverlayProblemLines = 12;

} // namespace

DXFramework::DXFramework(HINSTANCE moduleInstance, const std::string& commandLine, const std::string& title,
                         Direct3DCreator createDirect3D)
    : title(title), moduleInstance(moduleInstance), createDirect3D(std::move(createDirect3D))
{
    if (instance)
        throw FrameworkEx("Framework is a singleton and can only have 1 instance!");
    instance = this;
    RestartSharedSequences();
    try {
        mouse = std::make_unique<Mouse>();
        options = ParseLaunchOptions(commandLine);
        runSetupDialog = !options.skipSetup;

        WNDCLASSEX windowClass;
        windowClass.style = 0x40; // CS_CLASSDC
        windowClass.lpfnWndProc = &DXFramework::WndProc;
        windowClass.hInstance = moduleInstance;
        windowClass.lpszClassName = WindowClassName;
        RegisterClassEx(&windowClass);

        // What the core survives (a missing curve) the viewer sees in a message box.
        SetNoticeReporter(ShowMessageBox);
        // The hub comes first, so that every loader from here on watches what it reads.
        if (options.dev)
            reloadHub = std::make_unique<ReloadHub>(std::cerr);
        fileSys = std::make_unique<FileSys>();
        if (options.dev)
            OpenLooseFolder();
        rtHandler = std::make_unique<RTHandler>();
        rsHandler = std::make_unique<RSHandler>();
        rtCubeHandler = std::make_unique<RTCubeHandler>();
        timer = std::make_unique<Timer>();
        syncTimer = std::make_unique<DemoSyncTimer>();
        syncDevice = createSyncDevice("sync", syncTimer.get());
        if (!syncDevice)
            throw FrameworkEx("something went wrong - failed to connect to host?");
        bassPlayer = std::make_unique<BASSPlayer>();
        effectHandler = std::make_unique<DXEffectHandler>();
        moduleHandler = std::make_unique<ModuleHandler>();
        sceneHandler = std::make_unique<SceneHandler>();
        keyHandler = std::make_unique<KeyHandler>();

        direct3d = this->createDirect3D();
        if (!direct3d)
            throw FrameworkEx("Unable to initialize d3d9");

        if (runSetupDialog)
            RunSetupDialog();
        ApplyLaunchOptions();
    } catch (...) {
        // A half-built framework leaves nothing behind: the services made so far go with it.
        TearDown();
        throw;
    }
}

DXFramework::~DXFramework()
{
    TearDown();
}

void DXFramework::TearDown()
{
    transport.reset();
    showStates.reset();
    syncDevice.reset();
    syncTimer.reset();
    rtHandler.reset();
    rtCubeHandler.reset();
    rsHandler.reset();
    Shutdown();
    mouse.reset();
    timer.reset();
    if (bassPlayer)
        bassPlayer->Release();
    bassPlayer.reset();
    moduleHandler.reset();
    sceneHandler.reset();
    // The effects go after the modules and scenes that use them; they hold the device to the last.
    effectHandler.reset();
    keyHandler.reset();
    fileSys.reset();
    liveData.reset();
    reloadHub.reset();
    SetNoticeReporter(nullptr);
    UnregisterClass(WindowClassName, moduleInstance);
    SetDeviceLostHandler(nullptr);
    instance = nullptr;
}

void DXFramework::OpenLooseFolder()
{
    const std::string folder = options.dataFolder.empty() ? QL_DEFAULT_LOOSE_FOLDER : options.dataFolder;
    // A build that makes no data has no staging folder: the maker's mode still runs, on the archive.
    std::error_code error;
    if (options.dataFolder.empty() && !std::filesystem::is_directory(folder, error)) {
        std::cerr << "No data folder " << folder << ": the archive alone is read, and nothing reloads\n";
        return;
    }
    try {
        liveData = std::make_unique<LiveData>(folder, *reloadHub, WatchFolder(folder));
    } catch (const FolderWatchError& e) {
        throw FrameworkEx("[DXFramework] The data folder cannot be watched: " + std::string(e.what()));
    }
    fileSys->SetLooseFolder(folder);
}

void DXFramework::RestartSharedSequences()
{
    CrtRand::srand(CrtRand::ProcessSeed);
    GradientNoise::ResetTables();
}

void DXFramework::ApplySavedFiles()
{
    liveData->Poll();
    if (const std::optional<double> from = reloadHub->TakeSimulationChange(); from && showStates)
        showStates->InvalidateFrom(*from);
    if (transport)
        transport->SetErrorLines(ReloadHub::OverlayLines(reloadHub->Problems(), OverlayProblemWidth, OverlayProblemLines));
}

void DXFramework::ApplyLaunchOptions()
{
    if (options.fullscreen)
        settings.fullscreen = *options.fullscreen;
    if (options.width) {
        settings.backBufferWidth = *options.width;
        settings.backBufferHeight = *options.height;
        // The 16:9 picture of that width, or of that height when the width would not fit it.
        settings.renderWidth = settings.backBufferWidth;
        settings.renderHeight = settings.renderWidth * 9 / 16;
        if (settings.renderHeight > settings.backBufferHeight) {
            settings.renderHeight = settings.backBufferHeight;
            settings.renderWidth = settings.renderHeight * 16 / 9;
        }
    }
}

void DXFramework::Run()
{
    CreateMainWindow();
    CreateDevice();
    ShowWindow(window, SW_SHOW);
    SetFocus(window);
    UpdateWindow(window);
    // The overlay loads and releases with the device's resources, as modules do.
    if (options.dev)
        moduleHandler->AddModule(std::make_unique<Overlay>());
    CreateDeviceResources();
    StartShow();

    MSG message;
    // In dev mode the show pauses on its last frame instead of ending.
    while ((transport || Timer::GetElapsed() < ShowEndTime) && message.message != WM_QUIT) {
        if (PeekMessage(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                break;
            TranslateMessage(&message);
            DispatchMessage(&message);
        } else if (minimized) {
            Sleep(100);
        } else {
            // What was saved reloads before the frame, so that the frame shows it.
            if (liveData)
                ApplySavedFiles();
            PlayFrame();
        }
    }
    if (musicEnabled)
        BASS_ChannelPause(bassPlayer->Stream());
    Shutdown();
}

void DXFramework::StartShow()
{
    sceneHandler->SetMostStepsPerUpdate(MostStepsPerFrame);
    if (showStates)
        showStates->Loaded();
    if (musicEnabled) {
        bassPlayer->OpenDevice(window);
        bassPlayer->Init();
    }
    // The first frame stands at the seek's time less the music's latency (StartMusic).
    if (options.seekSeconds > 0.0) {
        const double first = options.seekSeconds - MusicLatency();
        if (showStates)
            showStates->SeekTo(first, true);
        else
            sceneHandler->SkipStepsTo(first);
    }
    Timer::SetTime(options.seekSeconds, 0.0);
    if (musicEnabled)
        StartMusic();
    if (options.dev)
        transport = std::make_unique<Transport>(*this);
    if (options.dev && showStates)
        warmUp = std::make_unique<SceneWarmUp>(*this);
}

void DXFramework::PlayFrame()
{
    const double started = Timer::GetTime();
    Timer::Update();
    if (transport)
        transport->BeforeFrame();
    CatchUpAfterStall();
    if (warmUp) {
        warmUp->BeforeFrame();
        if (warmUp->Done())
            warmUp.reset();
    }
    if (transport) {
        // The frame is saved as drawn, then the overlay goes over it for the screen only.
        const std::optional<std::string> frameFile = transport->TakeFrameToSave();
        StepFrame([&] {
            if (frameFile && saveFrame)
                saveFrame(*frameFile);
            DrawOverlay();
        });
        transport->FrameTimed(Timer::GetTime() - started);
    } else {
        StepFrame();
    }
    if (showStates)
        showStates->FramePlayed();
}

void DXFramework::DrawOverlay()
{
    if (!transport->OverlayShown())
        return;
    DEVICE_CALL(device->BeginScene());
    device->SetRenderTarget(0, backBuffer);
    SetLetterboxViewport();
    moduleHandler->GetModuleAs<Overlay>(Overlay::ModuleName)
        .DrawLines(transport->OverlayLines(), settings.renderWidth, settings.renderHeight);
    DEVICE_CALL(device->EndScene());
}

void DXFramework::CatchUpAfterStall()
{
    const double now = Timer::GetElapsed(), delta = Timer::GetDelta();
    if (!showStates || SceneHandler::StepsAt(now) - sceneHandler->StepsTaken() <= MostStepsPerFrame)
        return;
    // A kept state near the clock puts the show back on its course; without one the scene handler
    // skips the steps beyond its bound.
    showStates->SeekTo(now, false);
    Timer::SetFrameClock(now, delta);
}

double DXFramework::MusicLatency() const
{
    return musicEnabled && bassPlayer ? bassPlayer->LatencyMilliseconds() * 0.001 : 0.0;
}

void DXFramework::StartMusic()
{
    if (options.seekSeconds > 0.0)
        BASS_ChannelSetPosition(bassPlayer->Stream(),
                                BASS_ChannelSeconds2Bytes(bassPlayer->Stream(), options.seekSeconds), BASS_POS_BYTE);
    bassPlayer->Play();
    // Second 0 is when the first sound is heard, latency seconds from now.
    Timer::SetTime(options.seekSeconds - MusicLatency(), 0.0);
}

void DXFramework::CreateMainWindow()
{
    const bool fullscreen = settings.fullscreen;
    const uint32_t style = (fullscreen ? FullscreenStyle : WindowedStyle) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    // The device's backend says what kind of window it draws into (an OpenGL one, or none at all).
    const uint32_t backendStyle = direct3d->Driver().WindowStyle();
    const uint32_t exStyle = (fullscreen ? FullscreenExStyle : WindowedExStyle) | backendStyle;
    RECT rect{0, 0, long(settings.backBufferWidth), long(settings.backBufferHeight)};
    AdjustWindowRectEx(&rect, style, 0, exStyle);
    const int width = int(rect.right - rect.left), height = int(rect.bottom - rect.top);
    // A headless window stands nowhere, so it asks no display for its place.
    const bool placed = !fullscreen && !(backendStyle & WS_EX_HEADLESS);
    const int x = placed ? GetSystemMetrics(SM_CXFULLSCREEN) / 2 - width / 2 : 0;
    const int y = placed ? GetSystemMetrics(SM_CYFULLSCREEN) / 2 - height / 2 : 0;
    window = CreateWindowEx(exStyle, WindowClassName, title.c_str(), style, x, y, width, height, nullptr, nullptr,
                            moduleInstance, nullptr);
    if (!window)
        throw FrameworkEx("Failed creating window");
}

void DXFramework::StepFrame(const std::function<void()>& beforePresent)
{
    RunFrame([&] {
        AdvanceScenes();
        RenderFrame(beforePresent);
    });
}

void DXFramework::StepFrameUndrawn()
{
    RunFrame([&] { AdvanceScenes(); });
}

void DXFramework::StepFrameUnshown(void (Scene::*draw)())
{
    RunFrame([&] {
        AdvanceScenes();
        DrawFrame(draw);
    });
}

void DXFramework::RunFrame(const std::function<void()>& work)
{
    struct Within {
        bool& flag;
        explicit Within(bool& flag) : flag(flag) { flag = true; }
        ~Within() { flag = false; }
    };
    bool lost = false;
    try {
        const Within within(inFrame);
        work();
    } catch (const FrameLost&) {
        lost = true;
    }
    if (lost)
        ResetDevice();
    KeyHandler::Instance()->EndFrame();
}

void DXFramework::AdvanceScenes()
{
    syncDevice->update(static_cast<float>(syncTimer->currentRow()));
    SceneHandler::Instance()->Update();
}

void DXFramework::DrawFrame(void (Scene::*draw)())
{
    // Checked: a device lost there would otherwise show only as draws outside a scene, or as a
    // Present refused because the scene never ended.
    DEVICE_CALL(device->BeginScene());
    BeginFrame();
    if (Scene* scene = SceneHandler::Instance()->GetCurrentScene())
        (scene->*draw)();
    DEVICE_CALL(device->EndScene());
}

void DXFramework::RenderFrame(const std::function<void()>& beforePresent)
{
    DrawFrame(&Scene::Render);
    if (beforePresent)
        beforePresent();
    PresentFrame();
}

bool DXFramework::PresentFrame()
{
    return CheckDeviceCall(device->Present(nullptr, nullptr, nullptr, nullptr), PresentSite);
}

void DXFramework::BeginFrame()
{
    device->SetDepthStencilSurface(depthSurface);
    device->SetRenderTarget(0, backBuffer);
    const DWORD bar = settings.PictureTop();
    const DWORD left = settings.PictureLeft();
    auto clear = [](DWORD x, DWORD y, DWORD width, DWORD height) {
        const D3DVIEWPORT9 viewport{x, y, width, height, 0.0f, 1.0f};
        device->SetViewport(&viewport);
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 0.0f, 0);
    };
    clear(left, bar, settings.renderWidth, settings.renderHeight);
    if (bar != 0)
        clear(0, 0, settings.backBufferWidth, bar);
    const DWORD top = settings.renderHeight + bar;
    const DWORD height = settings.backBufferHeight - top;
    if (height != 0)
        clear(0, top, settings.backBufferWidth, height);
    const DWORD right = left + settings.renderWidth;
    if (left != 0)
        clear(0, bar, left, settings.renderHeight);
    if (right != settings.backBufferWidth)
        clear(right, bar, settings.backBufferWidth - right, settings.renderHeight);
}

void DXFramework::SetLetterboxViewport()
{
    const D3DVIEWPORT9 viewport{settings.PictureLeft(), settings.PictureTop(), settings.renderWidth,
                                settings.renderHeight, 0.0f, 1.0f};
    device->SetViewport(&viewport);
}

void DXFramework::Shutdown()
{
    if (bassPlayer)
        bassPlayer->Release();
    ReleaseDeviceResources();
    if (device) {
        device->Release();
        device = nullptr;
    }
    if (direct3d) {
        direct3d->Release();
        direct3d = nullptr;
    }
    if (window) {
        ignoreNextDestroy = true;
        DestroyWindow(window);
        window = nullptr;
    }
}

LRESULT DXFramework::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DXFramework* framework = instance;
    switch (message) {
    case WM_DESTROY:
        if (framework && framework->ignoreNextDestroy)
            framework->ignoreNextDestroy = false;
        else
            PostQuitMessage(0);
        return 0;
    case WM_SIZE:
        if (framework)
            framework->minimized = wParam == SIZE_MINIMIZED;
        return 0;
    case WM_KEYDOWN:
        KeyHandler::Instance()->KeyDown(static_cast<uint32_t>(wParam));
        if (wParam == VK_ESCAPE)
            PostQuitMessage(0);
        return 0;
    case WM_SYSKEYDOWN:
        KeyHandler::Instance()->KeyDown(static_cast<uint32_t>(wParam));
        return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        KeyHandler::Instance()->KeyUp(static_cast<uint32_t>(wParam));
        return 0;
    case WM_MOUSEMOVE:
        Mouse::SetButtons(static_cast<uint32_t>(wParam));
        Mouse::SetPosition(static_cast<uint16_t>(lParam & 0xFFFF), static_cast<uint16_t>((lParam >> 16) & 0xFFFF));
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        Mouse::SetButtons(static_cast<uint32_t>(wParam));
        break;
    default:
        break;
    }
    return DefWindowProc(window, message, wParam, lParam);
}

void DXFramework::RunSetupDialog()
{
    SetupDialog dialog(*direct3d, settings);
    if (dialog.Run() != 1)
        Shutdown(); // Exit also posted a quit request, which Run takes before its first frame
}
