// The setup dialog's layout (dialog resource 102) and the ids its procedure addresses.
#pragma once

#include "Platform/Window/DialogTemplate.h"

constexpr int IDC_RESOLUTION = 1000;
constexpr int IDC_MONITOR = 1001;
constexpr int IDC_MULTISAMPLE = 1002;
constexpr int IDC_FULLSCREEN = 1003;
constexpr int IDC_VSYNC = 1004;

const DialogTemplate& SetupDialogTemplate();
