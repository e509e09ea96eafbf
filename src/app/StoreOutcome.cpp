#include "app/StoreOutcome.h"

#include <string>

#include "associations/StoreFailures.h"
#include "platform/Diagnostics.h"

namespace orvanel {

int WithStoreOutcome(const char* operation, int exitCode) {
  const auto failure = FirstStoreFailure();
  if (!failure) return exitCode;
  if (*failure == platform::registry::Status::AccessDenied) {
    platform::ReportDiagnostic(std::string("orvanel: ") + operation +
                               " failed: the registry cannot be written (access denied)");
  }
  return -1;
}

}  // namespace orvanel
