// Lets a test look at a modal dialog once it is on screen and answer it as a user would, so that
// a test of the real dialog needs nobody at the keyboard.
#pragma once

#include "Platform/Window/DialogControls.h"

#include <functional>
#include <string>
#include <vector>

struct DialogPixelRect {
    int x = 0, y = 0, width = 0, height = 0;
};

enum class DialogKey { Enter, Escape };

class ShownDialog {
public:
    virtual ~ShownDialog() = default;

    virtual std::string Caption() const = 0;
    virtual const DialogControls& Controls() const = 0;
    // Where every control of the template ended up, in template order, in client coordinates.
    virtual std::vector<DialogPixelRect> ControlBounds() const = 0;
    // The client area, at (0, 0).
    virtual DialogPixelRect ClientArea() const = 0;
    // Draws the dialog's client area into a PNG file; false when it cannot be written.
    virtual bool SaveScreenshot(const std::string& pngPath) const = 0;

    // False when id is no push button or check box.
    virtual bool Click(int id) = 0;
    virtual void PressKey(DialogKey key) = 0;
    // What the close box of the caption does.
    virtual void Close() = 0;
};

// Runs once for each modal dialog after it has been shown and drawn; an empty hook removes it.
using DialogShownHook = std::function<void(ShownDialog& dialog)>;
void SetDialogShownHook(DialogShownHook hook);
