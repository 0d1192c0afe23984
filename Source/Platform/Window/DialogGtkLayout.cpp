#include "Platform/Window/DialogGtkLayout.h"

namespace {

// The closed height of a drop-down list, which a template cannot give (its height is that of the
// opened list); Windows makes it about as tall as a push button.
constexpr int DropDownClosedHeight = 13;

// GTK's default theme pads buttons, drop-down lists and check boxes generously, while the rows of
// a dialog template may be as little as 10 dialog units apart and a check box's label begins two
// units after its 8-unit box; less padding keeps neighbours from overlapping.
constexpr const char* CompactStyle = R"(
.quiet-lantern-dialog button { min-height: 0; padding-top: 2px; padding-bottom: 2px; }
.quiet-lantern-dialog checkbutton { padding: 0; }
.quiet-lantern-dialog checkbutton check { margin: 0; }
)";
constexpr const char* DialogStyleClass = "quiet-lantern-dialog";

struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
};

int Scale(int units, int base, int divisor)
{
    return (units * base + divisor / 2) / divisor;
}

PixelRect ToPixels(const DialogUnitRect& rect, DialogBaseUnits base)
{
    return {Scale(rect.x, base.x, 4), Scale(rect.y, base.y, 8), Scale(rect.width, base.x, 4),
            Scale(rect.height, base.y, 8)};
}

void InstallCompactStyle()
{
    static bool installed = false;
    if (installed)
        return;
    GtkCssProvider* provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, CompactStyle, -1, nullptr);
    gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(provider),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
    installed = true;
}

GtkWidget* MakeWidget(const DialogControlTemplate& control)
{
    switch (control.kind) {
    case DialogControlKind::Label: {
        GtkWidget* label = gtk_label_new(control.text.c_str());
        gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
        return label;
    }
    case DialogControlKind::DropDownList: {
        GtkWidget* combo = gtk_combo_box_text_new();
        // Long items are shortened on the closed list rather than widening it over its neighbours.
        GList* cells = gtk_cell_layout_get_cells(GTK_CELL_LAYOUT(combo));
        for (GList* cell = cells; cell; cell = cell->next)
            g_object_set(cell->data, "ellipsize", PANGO_ELLIPSIZE_END, nullptr);
        g_list_free(cells);
        return combo;
    }
    case DialogControlKind::CheckBox: return gtk_check_button_new();
    case DialogControlKind::PushButton:
    case DialogControlKind::DefaultPushButton: return gtk_button_new_with_label(control.text.c_str());
    }
    return gtk_label_new("");
}

// The rectangle of a template control, before the widget's own size is known.
PixelRect Slot(const DialogControlTemplate& control, DialogBaseUnits base)
{
    PixelRect slot = ToPixels(control.rect, base);
    if (control.kind == DialogControlKind::DropDownList)
        slot.height = Scale(DropDownClosedHeight, base.y, 8);
    return slot;
}

// Widgets keep at least their own minimum size (a label is never clipped; a check box is drawn at
// the theme's size) and are centred vertically on their slot.
void Place(GtkFixed* fixed, GtkWidget* widget, DialogControlKind kind, const PixelRect& slot)
{
    const bool stretches = kind != DialogControlKind::Label && kind != DialogControlKind::CheckBox;
    gtk_widget_set_size_request(widget, stretches ? slot.width : -1, stretches ? slot.height : -1);
    gtk_fixed_put(fixed, widget, 0, 0);
    gtk_widget_show(widget); // a hidden widget measures as nothing
    GtkRequisition size;
    gtk_widget_get_preferred_size(widget, &size, nullptr);
    gtk_fixed_move(fixed, widget, slot.x, slot.y + (slot.height - size.height) / 2);
}

} // namespace

DialogBaseUnits MeasureDialogBaseUnits(GtkWidget* widget)
{
    PangoLayout* layout = gtk_widget_create_pango_layout(widget, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    int width = 0, height = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    g_object_unref(layout);
    DialogBaseUnits base;
    // Windows' average character width: the width of the 52 letters over 52, rounded.
    if (width > 0 && height > 0)
        base = {(width / 26 + 1) / 2, height};
    return base;
}

void LayOutDialog(const DialogTemplate& dialogTemplate, GtkWidget* window, DialogGtkControls& controls)
{
    InstallCompactStyle();
    gtk_style_context_add_class(gtk_widget_get_style_context(window), DialogStyleClass);
    gtk_window_set_title(GTK_WINDOW(window), dialogTemplate.caption.c_str());
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    gtk_window_set_type_hint(GTK_WINDOW(window), GDK_WINDOW_TYPE_HINT_DIALOG);

    const DialogBaseUnits base = MeasureDialogBaseUnits(window);
    const PixelRect client = ToPixels(dialogTemplate.rect, base);
    gtk_window_move(GTK_WINDOW(window), client.x, client.y);

    GtkWidget* fixed = gtk_fixed_new();
    gtk_widget_set_size_request(fixed, client.width, client.height);
    gtk_container_add(GTK_CONTAINER(window), fixed);

    for (const DialogControlTemplate& control : dialogTemplate.controls) {
        GtkWidget* widget = MakeWidget(control);
        Place(GTK_FIXED(fixed), widget, control.kind, Slot(control, base));
        controls.Register(control.id, control.kind, widget);
        if (control.kind == DialogControlKind::DefaultPushButton) {
            gtk_widget_set_can_default(widget, TRUE);
            gtk_window_set_default(GTK_WINDOW(window), widget);
            // Shown as the button Enter presses.
            gtk_style_context_add_class(gtk_widget_get_style_context(widget), GTK_STYLE_CLASS_SUGGESTED_ACTION);
        }
    }
}
