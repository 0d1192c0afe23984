// The dialog controls of the GTK backend: the widgets made from a template, found by their id.
#pragma once

#include "Platform/Window/DialogControls.h"
#include "Platform/Window/DialogTemplate.h"

#include <gtk/gtk.h>

#include <map>
#include <vector>

class DialogGtkControls final : public DialogControls {
public:
    // Widgets are owned by their window; these are borrowed.
    void Register(int id, DialogControlKind kind, GtkWidget* widget);

    bool HasControl(int id) const override;
    int AddItem(int id, const std::string& text) override;
    bool SelectItem(int id, int index) override;
    std::optional<std::string> SelectedText(int id) const override;
    bool SetChecked(int id, bool checked) override;
    bool IsChecked(int id) const override;
    void EndDialog(INT_PTR result) override;

    bool Ended() const { return ended; }
    INT_PTR Result() const { return result; }

    // A push button or check box; null otherwise.
    GtkWidget* Clickable(int id) const;
    bool IsPushButton(GtkWidget* widget) const;
    // Every widget in template order, labels included.
    const std::vector<GtkWidget*>& AllWidgets() const { return all; }

private:
    struct Control {
        DialogControlKind kind;
        GtkWidget* widget;
    };
    const Control* Find(int id, DialogControlKind kind) const;

    std::map<int, Control> byId;
    std::vector<GtkWidget*> all;
    std::map<int, int> itemCounts;
    bool ended = false;
    INT_PTR result = 0;
};
