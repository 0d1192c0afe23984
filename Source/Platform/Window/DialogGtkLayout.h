// Lays a dialog template out with GTK widgets in a fixed container, converting dialog units to
// pixels from the font the dialog is drawn with, as Windows does for its dialog resources.
#pragma once

#include "Platform/Window/DialogGtkControls.h"
#include "Platform/Window/DialogTemplate.h"

#include <gtk/gtk.h>

// The font's average character width and its height, in pixels; by default those of MS Sans
// Serif 8 at 96 dots per inch.
struct DialogBaseUnits {
    int x = 6;
    int y = 13;
};

DialogBaseUnits MeasureDialogBaseUnits(GtkWidget* widget);

// Fills window (an empty toplevel) with the template's controls, registers each with controls
// and places the window where the template says.
void LayOutDialog(const DialogTemplate& dialogTemplate, GtkWidget* window, DialogGtkControls& controls);
