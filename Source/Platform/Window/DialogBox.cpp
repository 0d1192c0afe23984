// Loads the GTK dialog module on the first dialog and passes dialogs to it. An exception of the
// procedure is caught here and thrown again once the module has returned: the player may carry its
// own copy of the C++ runtime, and the module the system's.
#include "Platform/Window/DialogBox.h"
#include "Platform/Window/DialogGtkModule.h"
#include "Platform/Window/DialogShownHook.h"

#include <dlfcn.h>

#include <exception>

namespace {

struct GtkDialogModule {
    RunGtkDialogEntry run = nullptr;
    SetGtkDialogShownHookEntry setShownHook = nullptr;
    std::string failure; // empty once loaded
};

const GtkDialogModule& Module()
{
    static const GtkDialogModule module = [] {
        GtkDialogModule loaded;
        // Kept for the life of the process: GTK cannot be unloaded once initialised.
        void* handle = dlopen(DialogGtkModuleName, RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            loaded.failure = dlerror();
            return loaded;
        }
        loaded.run = reinterpret_cast<RunGtkDialogEntry>(dlsym(handle, RunGtkDialogSymbol));
        loaded.setShownHook = reinterpret_cast<SetGtkDialogShownHookEntry>(dlsym(handle, SetGtkDialogShownHookSymbol));
        if (!loaded.run || !loaded.setShownHook)
            loaded.failure = std::string(DialogGtkModuleName) + " lacks its entry points";
        return loaded;
    }();
    return module;
}

} // namespace

INT_PTR RunModalDialog(const DialogTemplate& dialogTemplate, const DialogProc& procedure, LPARAM initParam)
{
    const GtkDialogModule& module = Module();
    if (!module.run)
        return DialogsUnavailable;

    std::exception_ptr failure;
    const DialogProc guardedProcedure = [&](DialogControls& controls, UINT message, WPARAM wParam,
                                            LPARAM lParam) -> INT_PTR {
        try {
            return procedure(controls, message, wParam, lParam);
        } catch (...) {
            failure = std::current_exception();
            controls.EndDialog(0);
            return 1;
        }
    };
    const INT_PTR result = module.run(dialogTemplate, guardedProcedure, initParam);
    if (failure)
        std::rethrow_exception(failure);
    return result;
}

std::string DialogsUnavailableReason()
{
    return Module().failure;
}

// Test-only: a hook's exception ends the dialog inside the module.
void SetDialogShownHook(DialogShownHook hook)
{
    if (const GtkDialogModule& module = Module(); module.setShownHook)
        module.setShownHook(hook);
}
