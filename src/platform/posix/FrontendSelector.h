// Which frontend shows this run's windows: ORVANEL_FRONTEND names one ("terminal");
// unset or empty, the best one available.
#pragma once

#include "platform/posix/Frontend.h"

namespace orvanel::platform::posix {

// False, after one diagnostics line, when ORVANEL_FRONTEND names no frontend.
bool FrontendSettingIsKnown();

// The frontend of this run, chosen on first use. A setting that names no frontend
// falls back to the terminal.
Frontend& ActiveFrontend();

}  // namespace orvanel::platform::posix
