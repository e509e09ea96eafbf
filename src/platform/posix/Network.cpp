#include "platform/Network.h"

#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <sys/socket.h>

#include <cstring>

namespace orvanel::platform {

bool FirstAdapterAddress(std::array<uint8_t, 6>& address) {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return false;
  bool found = false;
  // The link-layer entries come in the system's order of interfaces. Loopback
  // reports an all-zero address of six bytes, but it is no adapter.
  for (const ifaddrs* entry = list; entry && !found; entry = entry->ifa_next) {
    if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_PACKET) continue;
    if (entry->ifa_flags & IFF_LOOPBACK) continue;
    const auto* link = reinterpret_cast<const sockaddr_ll*>(entry->ifa_addr);
    if (link->sll_halen != address.size()) continue;
    std::memcpy(address.data(), link->sll_addr, address.size());
    found = true;
  }
  freeifaddrs(list);
  return found;
}

}  // namespace orvanel::platform
