// The identifier of this computer in analytics requests and info-site links: the
// MD5 of the first network adapter's hardware address, as 32 lowercase hex digits.
#pragma once

#include <array>
#include <cstdint>

#include "common/Text.h"

namespace orvanel {

// Derived anew on every call from the first adapter the system lists.
Text MachineId();

// The identifier of one hardware address: MD5 of its six bytes written as twelve
// uppercase hex digits, first byte first, nothing else added.
Text MachineIdOf(const std::array<uint8_t, 6>& address);

}  // namespace orvanel
