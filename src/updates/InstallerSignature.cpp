#include "updates/InstallerSignature.h"

#include <optional>
#include <string>

#include "online/HttpTransfer.h"
#include "platform/Diagnostics.h"
#include "platform/Signature.h"
#include "updates/UpdateKey.h"

namespace orvanel {

bool IsInstallerSigned(const Text& installerPath, const Text& signatureUrl) {
  const std::optional<std::string> key = UpdateKeyPem();
  if (!key) return false;
  // The transfer has said why, when the signature did not come.
  const std::optional<std::string> signature = HttpGetText(signatureUrl);
  if (!signature) return false;
  if (platform::VerifyFileSignature(installerPath, *signature, *key)) return true;
  platform::ReportDiagnostic("orvanel: " + WideToUtf8(installerPath) +
                             " does not match its signature " + WideToUtf8(signatureUrl));
  return false;
}

}  // namespace orvanel
