// Answers typed to the terminal frontend.
#pragma once

#include <optional>
#include <string>

namespace orvanel::platform::terminal {

// One line of standard input without its line end (a CR before the LF is dropped
// too); nullopt at the end of input.
std::optional<std::string> ReadTerminalLine();

}  // namespace orvanel::platform::terminal
