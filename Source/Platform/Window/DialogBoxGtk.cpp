// The modal run of a dialog on GTK 3: the window, the messages its procedure receives, and the
// nested event loop that waits for EndDialog. Built as the module the player loads when a dialog
// first runs (DialogBox.cpp), so that GTK is needed only then.
#include "Platform/Window/DialogGtkControls.h"
#include "Platform/Window/DialogGtkLayout.h"
#include "Platform/Window/DialogGtkModule.h"
#include "Platform/Window/DialogShownHook.h"

#include <gtk/gtk.h>

#include <exception>

namespace {

DialogShownHook& ShownHook()
{
    static DialogShownHook hook;
    return hook;
}

bool OpenDisplay()
{
    static bool open = false;
    if (!open) {
        // GTK would otherwise switch the whole process to the user's locale, and the engine reads
        // and writes numbers in the C locale.
        gtk_disable_setlocale();
        open = gtk_init_check(nullptr, nullptr);
    }
    return open;
}

constexpr const char* ControlIdKey = "quiet-lantern-dialog-id";

class ModalDialog final : public ShownDialog {
public:
    ModalDialog(const DialogTemplate& dialogTemplate, const DialogProc& procedure)
        : procedure(procedure), window(gtk_window_new(GTK_WINDOW_TOPLEVEL))
    {
        LayOutDialog(dialogTemplate, window, controls);
        for (const DialogControlTemplate& control : dialogTemplate.controls) {
            if (GtkWidget* clickable = controls.Clickable(control.id)) {
                g_object_set_data(G_OBJECT(clickable), ControlIdKey, GINT_TO_POINTER(control.id));
                g_signal_connect(clickable, "clicked", G_CALLBACK(OnClicked), this);
            }
        }
        g_signal_connect(window, "key-press-event", G_CALLBACK(OnKeyPress), this);
        g_signal_connect(window, "delete-event", G_CALLBACK(OnDelete), this);
    }

    ~ModalDialog() override
    {
        if (shownSource)
            g_source_remove(shownSource);
        gtk_widget_destroy(window);
        // Let the window disappear before whatever comes next opens its own.
        while (gtk_events_pending())
            gtk_main_iteration_do(FALSE);
    }

    ModalDialog(const ModalDialog&) = delete;
    ModalDialog& operator=(const ModalDialog&) = delete;

    void Run(LPARAM initParam)
    {
        Send(WM_INITDIALOG, 0, initParam);
        if (Finished())
            return;
        if (ShownHook())
            firstDraw = g_signal_connect_after(window, "draw", G_CALLBACK(OnFirstDraw), this);
        gtk_widget_show_all(window);
        gtk_window_present(GTK_WINDOW(window));
        while (!Finished())
            gtk_main_iteration_do(TRUE);
    }

    INT_PTR Result() const { return controls.Result(); }
    std::exception_ptr Failure() const { return failure; }

    std::string Caption() const override
    {
        const char* title = gtk_window_get_title(GTK_WINDOW(window));
        return title ? title : "";
    }

    const DialogControls& Controls() const override { return controls; }

    std::vector<DialogPixelRect> ControlBounds() const override
    {
        std::vector<DialogPixelRect> bounds;
        for (GtkWidget* widget : controls.AllWidgets()) {
            GtkAllocation allocation;
            gtk_widget_get_allocation(widget, &allocation);
            bounds.push_back({allocation.x, allocation.y, allocation.width, allocation.height});
        }
        return bounds;
    }

    DialogPixelRect ClientArea() const override
    {
        return {0, 0, gtk_widget_get_allocated_width(window), gtk_widget_get_allocated_height(window)};
    }

    bool SaveScreenshot(const std::string& pngPath) const override
    {
        const DialogPixelRect area = ClientArea();
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, area.width, area.height);
        cairo_t* cairo = cairo_create(surface);
        gtk_widget_draw(window, cairo);
        cairo_destroy(cairo);
        const bool written = cairo_surface_write_to_png(surface, pngPath.c_str()) == CAIRO_STATUS_SUCCESS;
        cairo_surface_destroy(surface);
        return written;
    }

    bool Click(int id) override
    {
        GtkWidget* clickable = controls.Clickable(id);
        if (!clickable)
            return false;
        gtk_button_clicked(GTK_BUTTON(clickable));
        return true;
    }

    void PressKey(DialogKey key) override
    {
        GdkEvent* event = gdk_event_new(GDK_KEY_PRESS);
        event->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(window)));
        event->key.send_event = TRUE;
        event->key.time = GDK_CURRENT_TIME;
        event->key.keyval = key == DialogKey::Enter ? GDK_KEY_Return : GDK_KEY_Escape;
        gdk_event_set_device(event, gdk_seat_get_keyboard(gdk_display_get_default_seat(gtk_widget_get_display(window))));
        gtk_widget_event(window, event);
        gdk_event_free(event);
    }

    // What the window manager sends for the close box, delivered at once.
    void Close() override
    {
        GdkEvent* event = gdk_event_new(GDK_DELETE);
        event->any.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(window)));
        event->any.send_event = TRUE;
        gtk_widget_event(window, event);
        gdk_event_free(event);
    }

private:
    bool Finished() const { return controls.Ended() || failure; }

    void Send(UINT message, WPARAM wParam, LPARAM lParam)
    {
        // Changes the procedure makes itself (checking a box) notify nobody, as on Windows; and
        // nothing reaches a dialog that is ending.
        if (insideProcedure || Finished())
            return;
        insideProcedure = true;
        try {
            procedure(controls, message, wParam, lParam);
        } catch (...) {
            failure = std::current_exception();
        }
        insideProcedure = false;
    }

    static void OnClicked(GtkButton* button, gpointer self)
    {
        const int id = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(button), ControlIdKey));
        static_cast<ModalDialog*>(self)->Send(WM_COMMAND, WPARAM(id & 0xFFFF), 0);
    }

    static gboolean OnKeyPress(GtkWidget* window, GdkEventKey* event, gpointer self)
    {
        auto* dialog = static_cast<ModalDialog*>(self);
        switch (event->keyval) {
        case GDK_KEY_Escape: dialog->Send(WM_COMMAND, IDCANCEL, 0); return TRUE;
        case GDK_KEY_Return:
        case GDK_KEY_KP_Enter:
        case GDK_KEY_ISO_Enter:
            // Enter on a focused push button presses that button; anywhere else it means Run.
            if (dialog->controls.IsPushButton(gtk_window_get_focus(GTK_WINDOW(window))))
                return FALSE;
            dialog->Send(WM_COMMAND, IDOK, 0);
            return TRUE;
        default: return FALSE;
        }
    }

    static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer self)
    {
        static_cast<ModalDialog*>(self)->Send(WM_COMMAND, IDCANCEL, 0);
        return TRUE; // the procedure decides whether the dialog ends
    }

    static gboolean OnFirstDraw(GtkWidget*, cairo_t*, gpointer self)
    {
        auto* dialog = static_cast<ModalDialog*>(self);
        g_signal_handler_disconnect(dialog->window, dialog->firstDraw);
        dialog->shownSource = g_idle_add(OnShown, dialog);
        return FALSE;
    }

    static gboolean OnShown(gpointer self)
    {
        auto* dialog = static_cast<ModalDialog*>(self);
        dialog->shownSource = 0;
        try {
            ShownHook()(*dialog);
        } catch (...) {
            dialog->failure = std::current_exception();
        }
        return G_SOURCE_REMOVE;
    }

    const DialogProc& procedure;
    GtkWidget* window;
    DialogGtkControls controls;
    std::exception_ptr failure;
    bool insideProcedure = false;
    gulong firstDraw = 0;
    guint shownSource = 0;
};

} // namespace

extern "C" QL_DIALOG_EXPORT INT_PTR QlRunGtkDialog(const DialogTemplate& dialogTemplate, const DialogProc& procedure,
                                                   LPARAM initParam)
{
    if (!OpenDisplay())
        return -1;
    INT_PTR result = 0;
    std::exception_ptr failure;
    {
        ModalDialog dialog(dialogTemplate, procedure);
        dialog.Run(initParam);
        result = dialog.Result();
        failure = dialog.Failure();
    }
    if (failure)
        std::rethrow_exception(failure);
    return result;
}

extern "C" QL_DIALOG_EXPORT void QlSetGtkDialogShownHook(const DialogShownHook& hook)
{
    ShownHook() = hook;
}
