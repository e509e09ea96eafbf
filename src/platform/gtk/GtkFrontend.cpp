// Opening GTK, and the four windows as a frontend for the selector.
#include "platform/gtk/GtkFrontend.h"

#include <gtk/gtk.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "platform/Diagnostics.h"
#include "platform/posix/Frontend.h"

namespace orvanel::platform::gtk {
namespace {

using Desktop = FrontendOfFunctions<&ShowMessageBox, &RunPrompt, &RunProgressWindow,
                                    &ShowApplicationChooser>;

std::string DisplayName() {
  for (const char* name : {"WAYLAND_DISPLAY", "DISPLAY"}) {
    if (const char* value = std::getenv(name); value && *value)
      return std::string(name) + "=\"" + value + "\"";
  }
  return "no DISPLAY or WAYLAND_DISPLAY";
}

bool OpenGtk() {
  // GTK would otherwise switch the whole process to the user's locale, and with it
  // how numbers are read and written; the core keeps the C locale. GTK's own
  // dialogs still speak the user's language.
  gtk_disable_setlocale();
  std::setlocale(LC_MESSAGES, "");
  return gtk_init_check(nullptr, nullptr);
}

}  // namespace

Frontend* OpenGtkFrontend() {
  static Frontend* const frontend = []() -> Frontend* {
    if (!OpenGtk()) {
      ReportDiagnostic("orvanel: GTK cannot open the display (" + DisplayName() +
                       "); using the terminal");
      return nullptr;
    }
    static Desktop desktop;
    return &desktop;
  }();
  return frontend;
}

}  // namespace orvanel::platform::gtk
