// Text for the terminal frontend.
#pragma once

#include <string>

#include "common/Text.h"

namespace orvanel::platform::terminal {

// UTF-8 for the terminal, with control characters (which a file name may hold)
// shown as "?" so that they cannot move the cursor or change the terminal.
std::string TerminalText(const Text& text);

// A typed answer without the blanks around it.
std::string WithoutBlanks(const std::string& answer);

}  // namespace orvanel::platform::terminal
