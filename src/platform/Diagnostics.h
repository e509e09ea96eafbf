// Failures that the user need not act on: what failed and why, one line each.
// Natively they go to standard error; on Windows, where a GUI program has none,
// to the debugger output. What the user must act on is a message box instead.
#pragma once

#include <string>

namespace orvanel::platform {

// Writes one diagnostic line (UTF-8, without its line end).
void ReportDiagnostic(const std::string& line);

}  // namespace orvanel::platform
