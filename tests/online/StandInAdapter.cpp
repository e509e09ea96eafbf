#include "StandInAdapter.h"

#include "platform/Network.h"

namespace orvanel::test::standin {

int adapterReads = 0;
bool adapterPresent = true;

}  // namespace orvanel::test::standin

namespace orvanel::platform {

bool FirstAdapterAddress(std::array<uint8_t, 6>& address) {
  ++test::standin::adapterReads;
  if (!test::standin::adapterPresent) return false;
  address = test::standin::kAdapterAddress;
  return true;
}

}  // namespace orvanel::platform
