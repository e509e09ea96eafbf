// Network adapters through the IP Helper: GetAdaptersInfo into room for 16 records.
#include "platform/Network.h"

#include <winsock2.h>

#include <windows.h>

#include <iphlpapi.h>

#include <cstring>

namespace orvanel::platform {

bool FirstAdapterAddress(std::array<uint8_t, 6>& address) {
  IP_ADAPTER_INFO adapters[16];
  ULONG size = sizeof(adapters);
  // A machine with more adapters than fit answers ERROR_BUFFER_OVERFLOW: no address.
  if (GetAdaptersInfo(adapters, &size) != ERROR_SUCCESS) return false;
  for (const IP_ADAPTER_INFO* adapter = adapters; adapter; adapter = adapter->Next) {
    if (adapter->AddressLength != address.size()) continue;
    std::memcpy(address.data(), adapter->Address, address.size());
    return true;
  }
  return false;
}

}  // namespace orvanel::platform
