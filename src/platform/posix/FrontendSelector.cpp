#include "platform/posix/FrontendSelector.h"

#include <cstdlib>
#include <string>

#include "platform/Diagnostics.h"
#include "platform/gtk/GtkFrontend.h"
#include "platform/terminal/TerminalFrontend.h"

namespace orvanel::platform::posix {
namespace {

std::string FrontendSetting() {
  const char* value = std::getenv("ORVANEL_FRONTEND");
  return value ? value : "";
}

bool IsSet(const char* variable) {
  const char* value = std::getenv(variable);
  return value && *value;
}

bool DisplayAvailable() { return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY"); }

bool IsKnown(const std::string& name) {
  return name.empty() || name == "terminal" || name == "gtk";
}

Frontend& Choose(const std::string& name) {
  const bool desktop = name == "gtk" || (name.empty() && DisplayAvailable());
  if (desktop) {
    if (Frontend* gtk = gtk::OpenGtkFrontend()) return *gtk;
  }
  return terminal::TerminalFrontend();
}

}  // namespace

bool FrontendSettingIsKnown() {
  const std::string name = FrontendSetting();
  if (IsKnown(name)) return true;
  ReportDiagnostic("orvanel: ORVANEL_FRONTEND=\"" + name +
                   "\" names no frontend (known: terminal, gtk)");
  return false;
}

Frontend& ActiveFrontend() {
  static Frontend& frontend = Choose(FrontendSetting());
  return frontend;
}

}  // namespace orvanel::platform::posix
