// Modal dialogs with no owner window, laid out from a template and drawn with GTK 3, which is
// loaded when the first dialog runs: a player on a machine without GTK still starts.
#pragma once

#include "Platform/Window/DialogControls.h"
#include "Platform/Window/DialogTemplate.h"

#include <string>

// What RunModalDialog gives when no display can show a dialog, and when GTK cannot be loaded.
constexpr INT_PTR NoDisplayForDialogs = -1;
constexpr INT_PTR DialogsUnavailable = -2;

// Sends WM_INITDIALOG (lParam = initParam) before the dialog shows, then WM_COMMAND for every
// click of a button or check box: IDOK also for Enter, IDCANCEL also for Escape and the close
// box. Returns the result given to EndDialog, NoDisplayForDialogs or DialogsUnavailable. An
// exception thrown by the procedure closes the dialog and leaves this call.
INT_PTR RunModalDialog(const DialogTemplate& dialogTemplate, const DialogProc& procedure, LPARAM initParam);

// Why dialogs are unavailable (the loader's own words), once RunModalDialog has said so.
std::string DialogsUnavailableReason();
