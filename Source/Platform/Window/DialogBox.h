// Modal dialogs with no owner window, laid out from a template and drawn with GTK 3.
#pragma once

#include "Platform/Window/DialogControls.h"
#include "Platform/Window/DialogTemplate.h"

// Sends WM_INITDIALOG (lParam = initParam) before the dialog shows, then WM_COMMAND for every
// click of a button or check box: IDOK also for Enter, IDCANCEL also for Escape and the close
// box. Returns the result given to EndDialog, or -1 when no display can show a dialog. An
// exception thrown by the procedure closes the dialog and leaves this call.
INT_PTR RunModalDialog(const DialogTemplate& dialogTemplate, const DialogProc& procedure, LPARAM initParam);
