// What every dialog-controls backend does with drop-down lists and check boxes. The fake and the
// GTK backend are checked by the same cases, so the fake the dialog logic is tested on cannot
// drift from the real dialog.
#pragma once

#include "Platform/Window/DialogControls.h"
#include "Platform/Window/DialogTemplate.h"

constexpr int ContractList = 10;
constexpr int ContractBox = 11;

// A label, the list, the box, Run (IDOK) and Exit (IDCANCEL).
const DialogTemplate& ContractTemplate();

// Expects the behaviour on fresh controls of ContractTemplate().
void ExpectControlsContract(DialogControls& controls);
