// The GTK dialog module's entry points, looked up by name once the module is loaded. Whatever the
// procedure or the hook throws stays on the caller's side (DialogBox.cpp catches it there), so
// no exception crosses into the module.
#pragma once

#include "Platform/Window/DialogControls.h"
#include "Platform/Window/DialogShownHook.h"
#include "Platform/Window/DialogTemplate.h"

#define QL_DIALOG_EXPORT __attribute__((visibility("default")))

// The module's file name, found through the program's run path (lib/ beside the player).
inline constexpr const char* DialogGtkModuleName = "libquiet-lantern-gtk-dialog.so";

// RunModalDialog's contract (DialogBox.h), with -1 when no display can show a dialog.
using RunGtkDialogEntry = INT_PTR (*)(const DialogTemplate& dialogTemplate, const DialogProc& procedure,
                                      LPARAM initParam);
inline constexpr const char* RunGtkDialogSymbol = "QlRunGtkDialog";

using SetGtkDialogShownHookEntry = void (*)(const DialogShownHook& hook);
inline constexpr const char* SetGtkDialogShownHookSymbol = "QlSetGtkDialogShownHook";
