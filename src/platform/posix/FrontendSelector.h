// Which frontend shows this run's windows: ORVANEL_FRONTEND names one ("gtk" or
// "terminal"); unset or empty, the desktop when a display is available and GTK can
// open it, else the terminal.
#pragma once

#include "platform/posix/Frontend.h"

namespace orvanel::platform::posix {

// False, after one diagnostics line, when ORVANEL_FRONTEND names no frontend.
bool FrontendSettingIsKnown();

// The frontend of this run, chosen on first use. A desktop that GTK cannot open gives
// one diagnostics line and the terminal; so does a setting that names no frontend.
Frontend& ActiveFrontend();

}  // namespace orvanel::platform::posix
