// A GUI program on Windows has no standard error: diagnostics go to the debugger
// output, where DebugView or a debugger shows them.
#include "platform/Diagnostics.h"

#include "platform/win32/WideText.h"

namespace orvanel::platform {

void ReportDiagnostic(const std::string& line) {
  const Text whole = Utf8ToWide(line) + u"\n";
  OutputDebugStringW(win32::Wide(whole));
}

}  // namespace orvanel::platform
