#include "platform/Digest.h"

#include <openssl/evp.h>

namespace orvanel::platform {

std::array<uint8_t, 16> Md5Digest(const std::string& bytes) {
  std::array<uint8_t, 16> digest{};
  unsigned int length = 0;
  // Where MD5 is not available (a FIPS-only library) the digest stays all zeros,
  // which still has the form the callers expect.
  if (EVP_Digest(bytes.data(), bytes.size(), digest.data(), &length, EVP_md5(), nullptr) != 1 ||
      length != digest.size()) {
    digest.fill(0);
  }
  return digest;
}

}  // namespace orvanel::platform
