// The one object that owns the show: the window, the Direct3D object and device, the device-wide
// resources and every framework service. The entry point constructs it, registers the show's
// modules and scenes, and calls Run.
#pragma once

#include "Framework/LaunchOptions.h"
#include "Framework/SceneHandler/ShowStates.h"
#include "Framework/SetupDialog/DisplaySettings.h"
#include "Framework/Singleton.h"
#include "Platform/Gfx/Direct3D9.h"
#include "Platform/Window/WinTypes.h"

#include <functional>
#include <memory>
#include <string>

class Mouse;
class FileSys;
class RTHandler;
class RSHandler;
class RTCubeHandler;
class Timer;
class DemoSyncTimer;
class SyncDevice;
class BASSPlayer;
class ModuleHandler;
class Scene;
class SceneWarmUp;
class SceneHandler;
class KeyHandler;
class DXEffectHandler;
class DXEffect;
class ID3DXEffectPool;
class ReloadHub;
class LiveData;
class Transport;

class DXFramework {
public:
    // The show ends when its clock reaches this many seconds.
    static constexpr double ShowEndTime = 135.0;
    // The simulation steps one drawn frame of the player may take: half a second of show time,
    // some 60 ms on a slow machine. After a longer stall (a dragged window, a slow disk) the rest
    // is skipped, so that the show keeps time with the music instead of falling further behind
    // with every frame that has to catch up; the particles then go on from where they were until
    // the next scene start resets them. Captures and stills take every step.
    static constexpr int64_t MostStepsPerFrame = 30;
    static inline const char* const WindowClassName = "d3d_framework";

    // Creates every service (the archive is opened and the timeline read here) and the Direct3D
    // object through createDirect3D, then runs the setup dialog unless the command line holds
    // "--nosetup".
    DXFramework(HINSTANCE instance, const std::string& commandLine, const std::string& title,
                Direct3DCreator createDirect3D);
    ~DXFramework();
    DXFramework(const DXFramework&) = delete;
    DXFramework& operator=(const DXFramework&) = delete;

    static DXFramework* Instance() { return instance; }

    // The main loop: window, device, resources, music, frames until the show ends or the user quits.
    void Run();
    // Ends audio and releases the device and the window; safe to call more than once.
    void Shutdown();

    void SetLetterboxViewport();

    // Device lifecycle.
    void CreateDevice();
    void CreateDeviceResources();
    void ReleaseDeviceResources();
    void ResetDevice();

    // The noise textures: the volume first, then the vectors.
    void CreateNoiseVolume();
    void CreateNoiseVectors();

    // Steps of Run.
    void CreateMainWindow();
    // Once the resources exist: the step bound, the states at 0 and a --seek's, the clock, the
    // music, and in dev mode the transport.
    void StartShow();
    // One frame of the main loop: the clock's update, the transport, a stall's catch-up, the frame
    // (saved for F12) and the state kept.
    void PlayFrame();
    // Seconds from starting the music to hearing it; 0 without music.
    double MusicLatency() const;
    // One frame of the show at the clock as it stands: the sync device to the clock's row, the
    // timeline's scene switch and the current scene's update, the frame drawn and presented, the
    // keyboard's end of frame. Run calls it after each clock update; whoever drives the clock
    // itself (tests, benchmarks, offline rendering) calls it after setting the clock.
    // beforePresent, if given, runs once the frame is drawn, before it is presented.
    void StepFrame(const std::function<void()>& beforePresent = {});
    // The same frame without drawing it: the show's state moves on exactly as when it is drawn.
    void StepFrameUndrawn();
    // The same frame drawn but never shown, for what later frames draw over (the trails of a scene
    // that draws over its last picture, after a jump), by the scene's draw: Render, RenderTrails or
    // SeedTrails.
    void StepFrameUnshown(void (Scene::*draw)());
    void RenderFrame(const std::function<void()>& beforePresent = {});
    void BeginFrame();

    static LRESULT WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // The device, reachable from every part of the engine.
    static inline IDirect3DDevice9* device = nullptr;

    std::string title;
    HWND window = nullptr;
    HINSTANCE moduleInstance = nullptr;
    bool runSetupDialog = true;
    bool musicEnabled = true;
    DisplaySettings settings;
    LaunchOptions options;
    bool minimized = false;
    bool ignoreNextDestroy = false;

    IDirect3D9* direct3d = nullptr;
    D3DCAPS9 deviceCaps{};
    D3DPRESENT_PARAMETERS presentParameters{};
    IDirect3DSurface9* backBuffer = nullptr;
    IDirect3DSurface9* depthSurface = nullptr;
    IDirect3DSurface9* resolveDepthSurface = nullptr;
    ID3DXEffectPool* effectPool = nullptr;
    // The effect registered as "Global", on which the per-frame shared values are written.
    DXEffect* sharedEffect = nullptr;
    IDirect3DVolumeTexture9* noiseVolume = nullptr;
    IDirect3DTexture9* noiseVectors = nullptr;

    // A maker's run only (--dev): who reloads what, and the watched loose folder.
    ReloadHub* Reloads() const { return reloadHub.get(); }
    LiveData* Live() const { return liveData.get(); }
    // --dev, before each frame Run plays: reloads what was saved, tells the kept states what it
    // changed and the overlay what failed.
    void ApplySavedFiles();
    // Who keeps the simulation's states for seeks, if anyone (the player sets one for --seek and
    // --dev); without, a seek starts the clock there and the state goes on from the start's.
    std::unique_ptr<ShowStates> showStates;
    // The maker's transport, made by Run in dev mode.
    std::unique_ptr<Transport> transport;
    // In dev mode with the show's states kept: each scene's first draw done early.
    std::unique_ptr<SceneWarmUp> warmUp;
    // Saves the drawn frame (before the overlay) as the PNG file named; set by the player, called
    // for F12 in dev mode.
    std::function<void(const std::string& file)> saveFrame;

    std::unique_ptr<DemoSyncTimer> syncTimer;
    std::unique_ptr<SyncDevice> syncDevice;

private:
    // The process-wide generator and the noise tables drawn from it start as in a fresh process,
    // so that a show (a capture, a test) repeats bit for bit whatever ran before it in the process.
    // The modules draw their kernels, looks and scatter from the generator when they are made and
    // loaded, after this.
    static void RestartSharedSequences();
    void TearDown();
    void RunSetupDialog();
    void ApplyLaunchOptions();
    void CheckCapabilities() const;
    void FillPresentParameters();
    // Starts the opened music at the seek's time, the clock latency seconds behind it.
    void StartMusic();
    // --dev: the loose folder ahead of the archive, watched.
    void OpenLooseFolder();
    // After a stall of more than MostStepsPerFrame steps, a seek to the clock when a kept state is
    // near it.
    void CatchUpAfterStall();
    // The dev mode's overlay over the finished frame, unless F1 hid it.
    void DrawOverlay();
    // The sync device to the clock's row, then the timeline's switch and the current scene's update.
    void AdvanceScenes();
    // The frame's clears, then the current scene drawn by its draw.
    void DrawFrame(void (Scene::*draw)());
    bool PresentFrame();
    // Runs one frame's work, then the keyboard's end of frame. A device lost within the frame (at a
    // checked call or at Present) gives up the rest of the frame, and the device is reset once the
    // frame has unwound: until then its code may hold references to default-pool resources (a
    // saved render target), which Reset refuses, and what it would still do after a reset would
    // draw into an ended scene with resources made anew.
    void RunFrame(const std::function<void()>& work);

    // Thrown by the device-lost handler within a frame; RunFrame catches it and resets.
    struct FrameLost {};

    static inline DXFramework* instance = nullptr;
    bool inFrame = false;

    Direct3DCreator createDirect3D;
    std::unique_ptr<ReloadHub> reloadHub;
    std::unique_ptr<LiveData> liveData;
    std::unique_ptr<Mouse> mouse;
    std::unique_ptr<FileSys> fileSys;
    std::unique_ptr<RTHandler> rtHandler;
    std::unique_ptr<RSHandler> rsHandler;
    std::unique_ptr<RTCubeHandler> rtCubeHandler;
    std::unique_ptr<Timer> timer;
    std::unique_ptr<BASSPlayer> bassPlayer;
    std::unique_ptr<DXEffectHandler> effectHandler;
    std::unique_ptr<ModuleHandler> moduleHandler;
    std::unique_ptr<SceneHandler> sceneHandler;
    std::unique_ptr<KeyHandler> keyHandler;
};
