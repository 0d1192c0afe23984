// A dialog described as data, as a dialog resource describes it: caption, font, size and the
// controls with their ids, texts and rectangles in dialog units.
#pragma once

#include <string>
#include <vector>

// The id of controls the dialog procedure never addresses (labels).
constexpr int IDC_STATIC = -1;

enum class DialogControlKind {
    Label,
    DropDownList,      // a combo box the user picks from but cannot type into
    CheckBox,          // toggles itself when clicked
    PushButton,
    DefaultPushButton, // what Enter presses
};

// Dialog units: a quarter of the font's average character width horizontally, an eighth of its
// height vertically, so a layout keeps its proportions with any font.
struct DialogUnitRect {
    int x = 0, y = 0, width = 0, height = 0;
};

struct DialogControlTemplate {
    DialogControlKind kind = DialogControlKind::Label;
    int id = IDC_STATIC;
    std::string text;
    DialogUnitRect rect;
};

struct DialogTemplate {
    std::string caption;
    // The font the layout was made for; a backend may draw with the desktop's own font instead
    // and measures dialog units from the font it uses.
    std::string fontName;
    int fontPointSize = 8;
    DialogUnitRect rect; // position on the screen and client size
    std::vector<DialogControlTemplate> controls;
};
