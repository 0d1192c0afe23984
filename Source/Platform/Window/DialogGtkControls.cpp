#include "Platform/Window/DialogGtkControls.h"

void DialogGtkControls::Register(int id, DialogControlKind kind, GtkWidget* widget)
{
    all.push_back(widget);
    if (id != IDC_STATIC)
        byId[id] = Control{kind, widget};
}

const DialogGtkControls::Control* DialogGtkControls::Find(int id, DialogControlKind kind) const
{
    auto found = byId.find(id);
    return found != byId.end() && found->second.kind == kind ? &found->second : nullptr;
}

bool DialogGtkControls::HasControl(int id) const
{
    return byId.count(id) == 1;
}

int DialogGtkControls::AddItem(int id, const std::string& text)
{
    const Control* combo = Find(id, DialogControlKind::DropDownList);
    if (!combo)
        return -1;
    gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(combo->widget), text.c_str());
    return itemCounts[id]++;
}

bool DialogGtkControls::SelectItem(int id, int index)
{
    const Control* combo = Find(id, DialogControlKind::DropDownList);
    if (!combo)
        return false;
    const bool inList = index >= 0 && index < itemCounts[id];
    gtk_combo_box_set_active(GTK_COMBO_BOX(combo->widget), inList ? index : -1);
    return inList;
}

std::optional<std::string> DialogGtkControls::SelectedText(int id) const
{
    const Control* combo = Find(id, DialogControlKind::DropDownList);
    if (!combo)
        return std::nullopt;
    gchar* text = gtk_combo_box_text_get_active_text(GTK_COMBO_BOX_TEXT(combo->widget));
    if (!text)
        return std::nullopt;
    std::string selected(text);
    g_free(text);
    return selected;
}

bool DialogGtkControls::SetChecked(int id, bool checked)
{
    const Control* box = Find(id, DialogControlKind::CheckBox);
    if (!box)
        return false;
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(box->widget), checked);
    return true;
}

bool DialogGtkControls::IsChecked(int id) const
{
    const Control* box = Find(id, DialogControlKind::CheckBox);
    return box && gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(box->widget));
}

void DialogGtkControls::EndDialog(INT_PTR dialogResult)
{
    ended = true;
    result = dialogResult;
}

GtkWidget* DialogGtkControls::Clickable(int id) const
{
    auto found = byId.find(id);
    if (found == byId.end())
        return nullptr;
    switch (found->second.kind) {
    case DialogControlKind::PushButton:
    case DialogControlKind::DefaultPushButton:
    case DialogControlKind::CheckBox: return found->second.widget;
    default: return nullptr;
    }
}

bool DialogGtkControls::IsPushButton(GtkWidget* widget) const
{
    for (const auto& [id, control] : byId)
        if (control.widget == widget)
            return control.kind == DialogControlKind::PushButton || control.kind == DialogControlKind::DefaultPushButton;
    return false;
}
