#include "platform/posix/FrontendSelector.h"

#include <cstdlib>
#include <string>

#include "platform/Diagnostics.h"
#include "platform/terminal/TerminalFrontend.h"

namespace orvanel::platform::posix {
namespace {

std::string FrontendSetting() {
  const char* value = std::getenv("ORVANEL_FRONTEND");
  return value ? value : "";
}

Frontend* FrontendNamed(const std::string& name) {
  if (name.empty() || name == "terminal") return &terminal::TerminalFrontend();
  return nullptr;
}

}  // namespace

bool FrontendSettingIsKnown() {
  const std::string name = FrontendSetting();
  if (FrontendNamed(name)) return true;
  ReportDiagnostic("orvanel: ORVANEL_FRONTEND=\"" + name +
                   "\" names no frontend (known: terminal)");
  return false;
}

Frontend& ActiveFrontend() {
  static Frontend& frontend = [] () -> Frontend& {
    Frontend* named = FrontendNamed(FrontendSetting());
    return named ? *named : terminal::TerminalFrontend();
  }();
  return frontend;
}

}  // namespace orvanel::platform::posix
