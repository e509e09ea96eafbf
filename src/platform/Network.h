// The machine's network adapters.
#pragma once

#include <array>
#include <cstdint>

namespace orvanel::platform {

// The hardware address of the first adapter in the system's order that has a
// six-byte one (loopback has none); false when no adapter can be read.
bool FirstAdapterAddress(std::array<uint8_t, 6>& address);

}  // namespace orvanel::platform
