// The setup dialog shown before the show: display mode, monitor shape, multisampling,
// fullscreen and vertical sync, chosen from what adapter 0 offers and written into the display
// settings the device is created from.
#pragma once

#include "Framework/SetupDialog/AspectTable.h"
#include "Framework/SetupDialog/DisplaySettings.h"
#include "Platform/Window/DialogControls.h"

class IDirect3D9;

struct ScreenSize {
    unsigned width = 0;
    unsigned height = 0;
};

// The desktop's size as the window system reports it (SM_CXSCREEN, SM_CYSCREEN).
ScreenSize DesktopScreenSize();

class SetupDialog {
public:
    SetupDialog(IDirect3D9& direct3D, DisplaySettings& settings, ScreenSize screen = DesktopScreenSize());

    // Shows the dialog until the user answers: 1 for Run, 2 for Exit (which has also posted a
    // quit request). Where GTK cannot be loaded, says so on standard error and gives 1 with the
    // settings untouched. Raises FrameworkEx when no display can show it, and the dialog's own
    // failures.
    INT_PTR Run();

    // Nonzero for the messages it handles: WM_INITDIALOG and WM_COMMAND with IDOK or IDCANCEL.
    BOOL SetupDialogProc(DialogControls& dialog, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void InitDialog(DialogControls& dialog);
    // Each list's index to preselect; -1 when no item matched the desktop.
    int FillResolutions(DialogControls& dialog);
    int FillMonitors(DialogControls& dialog);
    void FillMultisampling(DialogControls& dialog);

    void AcceptChoices(DialogControls& dialog);
    void Cancel(DialogControls& dialog);

    IDirect3D9& direct3D;
    DisplaySettings& settings;
    ScreenSize screen;
    AspectTable aspects;
};
