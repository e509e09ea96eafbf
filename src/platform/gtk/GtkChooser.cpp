// The application chooser: GTK's own, for the file's content type as the terminal
// chooser finds it. The application chosen is started with the file and runs on its
// own; cancelling starts nothing.
#include <gtk/gtk.h>

#include <string>

#include "platform/gtk/GtkFrontend.h"
#include "platform/gtk/ModalLoop.h"
#include "platform/posix/InstalledApplications.h"

namespace orvanel::platform::gtk {
namespace {

// The file's name, for the chooser's heading.
std::string FileNameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

}  // namespace

bool ShowApplicationChooser(const Text& filePath) {
  const std::string path = WideToUtf8(filePath);
  const std::string type = posix::ContentTypeOf(path);
  GtkWidget* dialog =
      gtk_app_chooser_dialog_new_for_content_type(nullptr, GTK_DIALOG_MODAL, type.c_str());
  gchar* heading = g_markup_printf_escaped("Open <b>%s</b> with", FileNameOf(path).c_str());
  gtk_app_chooser_dialog_set_heading(GTK_APP_CHOOSER_DIALOG(dialog), heading);
  g_free(heading);
  gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);

  GAppInfo* chosen = nullptr;
  if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_OK)
    chosen = gtk_app_chooser_get_app_info(GTK_APP_CHOOSER(dialog));
  CloseWindow(dialog);
  if (!chosen) return true;

  const std::string failure = posix::LaunchWithFile(chosen, path);
  if (!failure.empty()) {
    gtk::ShowMessageBox(
        Utf8ToWide("Could not start " + posix::ApplicationName(chosen) + ": " + failure),
        u"Orvanel", ui::MessageButtons::Ok, ui::MessageIcon::Error);
  }
  g_object_unref(chosen);
  return true;
}

}  // namespace orvanel::platform::gtk
