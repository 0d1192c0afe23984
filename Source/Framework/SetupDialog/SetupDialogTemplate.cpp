#include "Framework/SetupDialog/SetupDialogTemplate.h"

#include "Platform/Window/WinTypes.h"

const DialogTemplate& SetupDialogTemplate()
{
    using Kind = DialogControlKind;
    static const DialogTemplate dialog{
        "Tindrevik 2009",
        "MS Sans Serif",
        8,
        {320, 256, 230, 122},
        {
            {Kind::Label, IDC_STATIC, "Resolution", {17, 17, 65, 8}},
            {Kind::DropDownList, IDC_RESOLUTION, "", {73, 13, 140, 188}},
            {Kind::Label, IDC_STATIC, "Monitor", {17, 31, 42, 8}},
            {Kind::DropDownList, IDC_MONITOR, "", {73, 27, 140, 94}},
            {Kind::Label, IDC_STATIC, "Multisampling", {17, 46, 43, 8}},
            {Kind::DropDownList, IDC_MULTISAMPLE, "", {73, 42, 140, 90}},
            {Kind::CheckBox, IDC_FULLSCREEN, "", {18, 69, 8, 8}},
            {Kind::Label, IDC_STATIC, "Fullscreen", {28, 69, 55, 8}},
            {Kind::CheckBox, IDC_VSYNC, "", {18, 79, 8, 8}},
            {Kind::Label, IDC_STATIC, "VSync", {28, 79, 55, 8}},
            {Kind::DefaultPushButton, IDOK, "Run", {120, 64, 93, 13}},
            {Kind::PushButton, IDCANCEL, "Exit", {120, 84, 93, 13}},
        },
    };
    return dialog;
}
