// Where the program and its per-user files are, administrator rights, and the
// elevated relaunch.
#pragma once

#include "common/Text.h"
#include "platform/DataFolder.h"

namespace orvanel {

// Full path of the running executable (at most kMaxPathCharacters); empty on failure.
Text ModulePath();

// True when the process has administrator rights; throws platform::SystemError
// (with the system's error code) when the test itself fails.
bool IsUserAdmin();

// Starts an elevated copy of Orvanel with `switchText` as its only argument; never waits.
void RelaunchElevated(const Text& switchText);

}  // namespace orvanel
