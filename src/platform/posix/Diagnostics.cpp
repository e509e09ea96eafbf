// Natively diagnostics go to standard error, one line each, written in one call so
// that lines from several processes sharing the stream do not interleave.
#include "platform/Diagnostics.h"

#include <cstdio>

namespace orvanel::platform {

void ReportDiagnostic(const std::string& line) {
  const std::string whole = line + "\n";
  std::fwrite(whole.data(), 1, whole.size(), stderr);
  std::fflush(stderr);
}

}  // namespace orvanel::platform
