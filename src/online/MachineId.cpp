#include "online/MachineId.h"

#include <cstdio>
#include <string>

#include "platform/Digest.h"
#include "platform/Network.h"

namespace orvanel {

Text MachineId() {
  // Without a readable adapter every such machine gets the identifier of the
  // address 00 00 00 00 00 00 (MD5 of "000000000000"): the same form as any
  // other, so the requests that carry it stay well formed.
  std::array<uint8_t, 6> address{};
  if (!platform::FirstAdapterAddress(address)) address.fill(0);
  return MachineIdOf(address);
}

Text MachineIdOf(const std::array<uint8_t, 6>& address) {
  char addressText[13];
  std::snprintf(addressText, sizeof addressText, "%02X%02X%02X%02X%02X%02X", address[0],
                address[1], address[2], address[3], address[4], address[5]);
  const std::array<uint8_t, 16> digest = platform::Md5Digest(std::string(addressText, 12));
  char identifier[33];
  for (size_t i = 0; i < digest.size(); ++i) {
    std::snprintf(identifier + 2 * i, 3, "%02x", digest[i]);
  }
  return Utf8ToWide(std::string(identifier, 32));
}

}  // namespace orvanel
