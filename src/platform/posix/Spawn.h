// Starting programs natively: always with an argument vector, never through a shell.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orvanel::platform::posix {

// The full path of a program found on PATH, if any.
std::optional<std::string> FindOnPath(const std::string& name);

enum class ChildInput { Inherit, Detach };

// Starts argv[0] (a full path) detached from this process: it is never awaited and
// outlives it. With ChildInput::Detach its standard streams go to /dev/null.
// False when the program could not be started.
bool StartDetached(const std::vector<std::string>& argv, ChildInput streams);

}  // namespace orvanel::platform::posix
