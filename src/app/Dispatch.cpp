#include "app/Dispatch.h"

namespace orvanel {

int RunOrvanel(platform::InstanceHandle) { return -1; }

}  // namespace orvanel
