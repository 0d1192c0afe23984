// An offline run of the show: the frames of the plan rendered with no display and no sound device
// (on GL for the player, on the Recorder for tests), read back through the device, the kept ones
// going into a video file or into still pictures, with progress on the way.
#pragma once

#include "Demo/Capture/CaptureOptions.h"
#include "Platform/Gfx/IDirect3D9.h"
#include "Framework/DXFramework.h"

#include <atomic>
#include <ostream>

// What an interrupted run exits with, as a shell reports a run ended by Ctrl+C.
constexpr int InterruptedExitCode = 130;

// 0 when everything was made; InterruptedExitCode when interrupted became true on the way (a
// video is then finished with the frames made so far). Throws FrameworkEx when the show or the
// output fails; no file is then left under the output's name.
int RunCapture(const CaptureOptions& options, const std::atomic<bool>& interrupted, std::ostream& progress,
               bool terminal, const Direct3DCreator& createDirect3D);

// RunCapture's stills, drawn by a show the caller has just opened (OpenShow) at the options' size, so that
// the caller may set its modules up first.
int CaptureStills(DXFramework& show, const CaptureOptions& options, const std::atomic<bool>& interrupted,
                  std::ostream& progress, bool terminal);
