// Dialog controls held in memory, for tests of dialog procedures: the controls a template has,
// what the procedure put into them, and what a user picked.
#pragma once

#include "Platform/Window/DialogControls.h"
#include "Platform/Window/DialogTemplate.h"

#include <map>
#include <string>
#include <vector>

class FakeDialogControls final : public DialogControls {
public:
    explicit FakeDialogControls(const DialogTemplate& dialogTemplate);

    bool HasControl(int id) const override;
    int AddItem(int id, const std::string& text) override;
    bool SelectItem(int id, int index) override;
    std::optional<std::string> SelectedText(int id) const override;
    bool SetChecked(int id, bool checked) override;
    bool IsChecked(int id) const override;
    void EndDialog(INT_PTR result) override;

    // The items of a drop-down list, in order; empty for any other id.
    std::vector<std::string> Items(int id) const;
    // -1 when nothing is selected.
    int SelectedIndex(int id) const;
    bool Ended() const { return ended; }
    INT_PTR Result() const { return result; }

    // As if the template lacked the control.
    void Remove(int id);

private:
    struct Control {
        DialogControlKind kind = DialogControlKind::Label;
        std::vector<std::string> items;
        int selected = -1;
        bool checked = false;
    };
    Control* Find(int id, DialogControlKind kind);
    const Control* Find(int id, DialogControlKind kind) const;

    std::map<int, Control> controls;
    bool ended = false;
    INT_PTR result = 0;
};
