// Message digests from the system's maintained cryptography library.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace orvanel::platform {

// MD5 (RFC 1321) of exactly these bytes.
std::array<uint8_t, 16> Md5Digest(const std::string& bytes);

}  // namespace orvanel::platform
