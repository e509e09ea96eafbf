// Whether a downloaded installer comes from Orvanel's publisher. It arrives over plain
// HTTP and runs with administrator rights, so whoever answers for the download site
// could otherwise run anything as administrator.
#pragma once

#include "common/Text.h"

namespace orvanel {

// Fetches the signature at `signatureUrl` (a small binary answer, 2xx only) and checks
// it against the update key: true only when the file at `installerPath` is exactly what
// the key's owner signed. A missing, unreadable or wrong signature, or no usable key,
// is false and writes one line through the diagnostics channel.
bool IsInstallerSigned(const Text& installerPath, const Text& signatureUrl);

}  // namespace orvanel
