// Checking that a file is what its publisher signed, with the system's maintained
// cryptography library.
#pragma once

#include <string>

#include "common/Text.h"

namespace orvanel::platform {

// True when `signature` is an RSA PKCS#1 v1.5 signature over the SHA-256 digest of the
// file at `path` (what `openssl dgst -sha256 -sign` writes), made with the private half
// of `publicKeyPem`. The key is a PEM "PUBLIC KEY" of an RSA key of at least 2048 bits;
// any other key, an unreadable file or a signature that does not fit is false.
bool VerifyFileSignature(const Text& path, const std::string& signature,
                         const std::string& publicKeyPem);

}  // namespace orvanel::platform
