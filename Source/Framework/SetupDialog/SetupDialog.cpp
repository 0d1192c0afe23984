#include "Framework/SetupDialog/SetupDialog.h"

#include "Framework/DeviceCall.h"
#include "Framework/FrameworkEx.h"
#include "Framework/SetupDialog/PictureSize.h"
#include "Framework/SetupDialog/SetupDialogTemplate.h"
#include "Platform/Gfx/IDirect3D9.h"
#include "Platform/Window/DialogBox.h"
#include "Platform/Window/MessagePump.h"
#include "Platform/Window/Window.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>

namespace {

// The mode enumeration is one of the framework's own checked calls and reports its place so.
const CallSite ModeEnumerationSite{".\\Source\\Framework\\DXFramework.cpp", 662};

constexpr unsigned SmallestWidth = 800;
constexpr unsigned SmallestHeight = 600;
constexpr unsigned MostSamples = 16;
constexpr const char* NoMultisampling = "No multisampling";
// Selections are read into a buffer of 256 characters, terminator included.
constexpr size_t MaxSelectionLength = 255;

std::string ResolutionText(const D3DDISPLAYMODE& mode, AspectPair pair)
{
    char text[96];
    std::snprintf(text, sizeof text, "%u x %u @ %uhz (%u:%u)", mode.Width, mode.Height, mode.RefreshRate, pair.width,
                  pair.height);
    return text;
}

std::string MonitorText(AspectPair pair, bool detected)
{
    char text[48];
    std::snprintf(text, sizeof text, detected ? "%u:%u (Detected)" : "%u:%u", pair.width, pair.height);
    return text;
}

std::string SamplesText(unsigned samples)
{
    char text[32];
    std::snprintf(text, sizeof text, "%u Samples", samples);
    return text;
}

std::string SelectionOf(const DialogControls& dialog, int id, const char* failure)
{
    std::optional<std::string> text = dialog.SelectedText(id);
    if (!text)
        throw FrameworkEx(failure);
    return text->substr(0, MaxSelectionLength);
}

} // namespace

ScreenSize DesktopScreenSize()
{
    return {unsigned(std::max(0, GetSystemMetrics(SM_CXSCREEN))), unsigned(std::max(0, GetSystemMetrics(SM_CYSCREEN)))};
}

SetupDialog::SetupDialog(IDirect3D9& direct3D, DisplaySettings& settings, ScreenSize screen)
    : direct3D(direct3D), settings(settings), screen(screen)
{
}

INT_PTR SetupDialog::Run()
{
    const INT_PTR result = RunModalDialog(
        SetupDialogTemplate(),
        [this](DialogControls& dialog, UINT message, WPARAM wParam, LPARAM lParam) -> INT_PTR {
            return SetupDialogProc(dialog, message, wParam, lParam);
        },
        0);
    if (result == DialogsUnavailable) {
        // Where GTK is missing the show still plays, with the settings --nosetup starts with.
        std::fprintf(stderr,
                     "quiet-lantern: the setup dialog needs GTK 3, which could not be loaded (%s); playing with the "
                     "default settings\n",
                     DialogsUnavailableReason().c_str());
        return IDOK;
    }
    if (result == NoDisplayForDialogs)
        throw FrameworkEx("[SetupDialog::Run]: No display to show the setup dialog on. Set DISPLAY, or start with "
                          "--nosetup to play with the default settings.");
    return result;
}

BOOL SetupDialog::SetupDialogProc(DialogControls& dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        InitDialog(dialog);
        return 1;
    }
    if (message != WM_COMMAND)
        return 0;
    switch (int(wParam & 0xFFFF)) {
    case IDOK: AcceptChoices(dialog); return 1;
    case IDCANCEL: Cancel(dialog); return 1;
    default: return 0;
    }
}

void SetupDialog::InitDialog(DialogControls& dialog)
{
    for (int id : {IDC_RESOLUTION, IDC_MONITOR, IDC_VSYNC, IDC_FULLSCREEN, IDC_MULTISAMPLE})
        if (!dialog.HasControl(id))
            throw FrameworkEx("Failed to fetch setup resources");

    const int resolution = FillResolutions(dialog);
    const int monitor = FillMonitors(dialog);
    FillMultisampling(dialog);

    dialog.SelectItem(IDC_MULTISAMPLE, 0);
    dialog.SelectItem(IDC_RESOLUTION, std::max(resolution, 0));
    dialog.SelectItem(IDC_MONITOR, std::max(monitor, 0));
    dialog.SetChecked(IDC_VSYNC, true);
    dialog.SetChecked(IDC_FULLSCREEN, true);
}

int SetupDialog::FillResolutions(DialogControls& dialog)
{
    const UINT count = direct3D.GetAdapterModeCount(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8);
    aspects = BuildAspectTable();
    int desktop = -1;
    for (UINT i = 0; i < count; ++i) {
        D3DDISPLAYMODE mode{};
        CheckDeviceCall(direct3D.EnumAdapterModes(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8, i, &mode), ModeEnumerationSite);
        if (mode.Width < SmallestWidth || mode.Height < SmallestHeight || mode.Format != D3DFMT_X8R8G8B8)
            continue;
        const int index = dialog.AddItem(IDC_RESOLUTION, ResolutionText(mode, AspectPairOf(aspects, mode.Width, mode.Height)));
        // The last match wins: among modes of the desktop's size, usually the highest refresh rate.
        if (mode.Width == screen.width && mode.Height == screen.height)
            desktop = index;
    }
    return desktop;
}

int SetupDialog::FillMonitors(DialogControls& dialog)
{
    // No screen size (no display) detects nothing rather than dividing by zero.
    settings.monitorAspect = screen.height ? float(screen.width) / float(screen.height) : 0.0f;
    int detected = -1;
    for (const auto& [ratio, pair] : aspects) {
        const bool matches = ratio == settings.monitorAspect;
        const int index = dialog.AddItem(IDC_MONITOR, MonitorText(pair, matches));
        if (matches)
            detected = index;
    }
    return detected;
}

void SetupDialog::FillMultisampling(DialogControls& dialog)
{
    dialog.AddItem(IDC_MULTISAMPLE, NoMultisampling);
    for (unsigned samples = 2; samples <= MostSamples; ++samples) {
        const auto type = static_cast<D3DMULTISAMPLE_TYPE>(samples);
        if (SUCCEEDED(direct3D.CheckDeviceMultiSampleType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, 0, type,
                                                          nullptr)) &&
            SUCCEEDED(direct3D.CheckDeviceMultiSampleType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_D16, 0, type, nullptr)))
            dialog.AddItem(IDC_MULTISAMPLE, SamplesText(samples));
    }
}

void SetupDialog::AcceptChoices(DialogControls& dialog)
{
    if (!dialog.HasControl(IDC_RESOLUTION) || !dialog.HasControl(IDC_MULTISAMPLE))
        throw FrameworkEx("Failed to fetch setup resources");

    // Read into a copy, so that a failure leaves the settings as they were.
    DisplaySettings chosen = settings;

    // Every text comes from the lists this dialog filled; one that does not read back as a mode
    // is refused like a missing selection rather than leaving a setting half written.
    const std::string resolution = SelectionOf(dialog, IDC_RESOLUTION, "Invalid resolution selection");
    char separator1 = 0, separator2 = 0;
    if (std::sscanf(resolution.c_str(), "%u %c %u %c %u", &chosen.backBufferWidth, &separator1,
                    &chosen.backBufferHeight, &separator2, &chosen.refreshRate) != 5 ||
        chosen.backBufferWidth == 0 || chosen.backBufferHeight == 0)
        throw FrameworkEx("Invalid resolution selection");

    const std::string multisampling = SelectionOf(dialog, IDC_MULTISAMPLE, "Invalid multisample selection");
    chosen.multiSampleType = 0;
    chosen.multiSampleQuality = 0;
    if (multisampling != NoMultisampling && std::sscanf(multisampling.c_str(), "%u", &chosen.multiSampleType) != 1)
        throw FrameworkEx("Invalid multisample selection");

    chosen.fullscreen = dialog.IsChecked(IDC_FULLSCREEN);
    chosen.vsync = dialog.IsChecked(IDC_VSYNC);

    const std::string monitor = SelectionOf(dialog, IDC_MONITOR, "Invalid Monitor Aspect Ratio selection");
    unsigned numerator = 0, denominator = 0;
    if (std::sscanf(monitor.c_str(), "%u:%u", &numerator, &denominator) != 2 || denominator == 0)
        throw FrameworkEx("Invalid Monitor Aspect Ratio selection");
    chosen.monitorAspect = float(numerator) / float(denominator);

    FitPictureToBackBuffer(chosen);
    settings = chosen;
    dialog.EndDialog(IDOK);
}

void SetupDialog::Cancel(DialogControls& dialog)
{
    dialog.EndDialog(IDCANCEL);
    PostQuitMessage(0);
}
