// Message boxes as GtkMessageDialog: modal, without parent, the caption as title and
// the text as given, line feeds included. The first button is the default one, as
// in a Windows message box, so Enter presses OK or Yes; closing a Yes/No box
// answers No.
#include <gtk/gtk.h>

#include "platform/gtk/GtkFrontend.h"
#include "platform/gtk/ModalLoop.h"

namespace orvanel::platform::gtk {

using ui::MessageButtons;
using ui::MessageIcon;
using ui::MessageResult;
namespace {

// GTK stopped drawing the message type's icon by itself; the box shows it as
// Windows does, beside the text. Only an icon that loads: where the icon theme or the
// MIME database cannot be found, GTK would abort on its stand-in for a missing icon,
// so such a box goes without.
bool IconLoads(const char* name) {
  GError* error = nullptr;
  GdkPixbuf* pixbuf = gtk_icon_theme_load_icon(gtk_icon_theme_get_default(), name, 48,
                                               static_cast<GtkIconLookupFlags>(0), &error);
  if (error) g_error_free(error);
  if (!pixbuf) return false;
  g_object_unref(pixbuf);
  return true;
}

void ShowIcon(GtkMessageDialog* dialog, MessageIcon icon) {
  const char* name = icon == MessageIcon::Error ? "dialog-error" : "dialog-information";
  if (!IconLoads(name)) return;
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  gtk_message_dialog_set_image(dialog, gtk_image_new_from_icon_name(name, GTK_ICON_SIZE_DIALOG));
  G_GNUC_END_IGNORE_DEPRECATIONS
}

}  // namespace

MessageResult ShowMessageBox(const Text& text, const Text& caption, MessageButtons buttons,
                             MessageIcon icon) {
  const bool yesNo = buttons == MessageButtons::YesNo;
  GtkWidget* widget = gtk_message_dialog_new(
      nullptr, GTK_DIALOG_MODAL, icon == MessageIcon::Error ? GTK_MESSAGE_ERROR : GTK_MESSAGE_INFO,
      yesNo ? GTK_BUTTONS_NONE : GTK_BUTTONS_OK, "%s", WideToUtf8(text).c_str());
  GtkDialog* dialog = GTK_DIALOG(widget);
  if (yesNo)
    gtk_dialog_add_buttons(dialog, "_Yes", GTK_RESPONSE_YES, "_No", GTK_RESPONSE_NO, nullptr);
  gtk_dialog_set_default_response(dialog, yesNo ? GTK_RESPONSE_YES : GTK_RESPONSE_OK);
  gtk_window_set_title(GTK_WINDOW(widget), WideToUtf8(caption).c_str());
  gtk_window_set_position(GTK_WINDOW(widget), GTK_WIN_POS_CENTER);
  ShowIcon(GTK_MESSAGE_DIALOG(widget), icon);
  gtk_widget_show_all(widget);

  const int response = gtk_dialog_run(dialog);
  CloseWindow(widget);
  if (!yesNo) return MessageResult::Ok;
  return response == GTK_RESPONSE_YES ? MessageResult::Yes : MessageResult::No;
}

}  // namespace orvanel::platform::gtk
