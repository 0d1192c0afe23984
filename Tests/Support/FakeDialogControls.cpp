#include "Support/FakeDialogControls.h"

FakeDialogControls::FakeDialogControls(const DialogTemplate& dialogTemplate)
{
    for (const DialogControlTemplate& control : dialogTemplate.controls)
        if (control.id != IDC_STATIC)
            controls[control.id].kind = control.kind;
}

FakeDialogControls::Control* FakeDialogControls::Find(int id, DialogControlKind kind)
{
    auto found = controls.find(id);
    return found != controls.end() && found->second.kind == kind ? &found->second : nullptr;
}

const FakeDialogControls::Control* FakeDialogControls::Find(int id, DialogControlKind kind) const
{
    return const_cast<FakeDialogControls*>(this)->Find(id, kind);
}

bool FakeDialogControls::HasControl(int id) const
{
    return controls.count(id) == 1;
}

int FakeDialogControls::AddItem(int id, const std::string& text)
{
    Control* combo = Find(id, DialogControlKind::DropDownList);
    if (!combo)
        return -1;
    combo->items.push_back(text);
    return int(combo->items.size()) - 1;
}

bool FakeDialogControls::SelectItem(int id, int index)
{
    Control* combo = Find(id, DialogControlKind::DropDownList);
    if (!combo)
        return false;
    const bool inList = index >= 0 && index < int(combo->items.size());
    combo->selected = inList ? index : -1;
    return inList;
}

std::optional<std::string> FakeDialogControls::SelectedText(int id) const
{
    const Control* combo = Find(id, DialogControlKind::DropDownList);
    if (!combo || combo->selected < 0)
        return std::nullopt;
    return combo->items[size_t(combo->selected)];
}

bool FakeDialogControls::SetChecked(int id, bool checked)
{
    Control* box = Find(id, DialogControlKind::CheckBox);
    if (!box)
        return false;
    box->checked = checked;
    return true;
}

bool FakeDialogControls::IsChecked(int id) const
{
    const Control* box = Find(id, DialogControlKind::CheckBox);
    return box && box->checked;
}

void FakeDialogControls::EndDialog(INT_PTR dialogResult)
{
    ended = true;
    result = dialogResult;
}

std::vector<std::string> FakeDialogControls::Items(int id) const
{
    const Control* combo = Find(id, DialogControlKind::DropDownList);
    return combo ? combo->items : std::vector<std::string>{};
}

int FakeDialogControls::SelectedIndex(int id) const
{
    const Control* combo = Find(id, DialogControlKind::DropDownList);
    return combo ? combo->selected : -1;
}

void FakeDialogControls::Remove(int id)
{
    controls.erase(id);
}
