// Start-up and command dispatch: one run of Orvanel, from the command line to the exit code.
#pragma once

#include <vector>

#include "common/Text.h"
#include "platform/Resources.h"

namespace orvanel {

// Runs the mode that argv[1] names and returns the exit code (0 or -1).
int RunOrvanel(platform::InstanceHandle instance);

}  // namespace orvanel
