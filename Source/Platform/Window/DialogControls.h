// The controls of an open dialog as its procedure sees them: drop-down lists, check boxes, and
// ending the dialog. The GTK backend shows them on screen; tests drive a fake.
#pragma once

#include "Platform/Window/WinTypes.h"

#include <functional>
#include <optional>
#include <string>

class DialogControls {
public:
    virtual ~DialogControls() = default;

    virtual bool HasControl(int id) const = 0;

    // Appends an item to a drop-down list; the item's index, or -1 when id is no drop-down list.
    virtual int AddItem(int id, const std::string& text) = 0;
    // Selects an item; an index outside the list clears the selection and gives false.
    virtual bool SelectItem(int id, int index) = 0;
    // The selected item's text; nothing when no item is selected or id is no drop-down list.
    virtual std::optional<std::string> SelectedText(int id) const = 0;

    // False when id is no check box.
    virtual bool SetChecked(int id, bool checked) = 0;
    virtual bool IsChecked(int id) const = 0;

    // The dialog closes once the procedure returns; the modal run gives back result.
    virtual void EndDialog(INT_PTR result) = 0;
};

// Returns nonzero when it handled the message. WM_INITDIALOG comes first, with the run's
// parameter as lParam; WM_COMMAND carries the id of the button clicked in wParam's low word.
using DialogProc = std::function<INT_PTR(DialogControls& dialog, UINT message, WPARAM wParam, LPARAM lParam)>;
