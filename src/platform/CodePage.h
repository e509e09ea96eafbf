// The system's narrow charset.
#pragma once

#include <string>

#include "common/Text.h"

namespace orvanel::platform {

// Text to the system's narrow charset (UTF-8 natively, the ANSI code page on Windows),
// with the system's default character for what the charset lacks.
std::string WideToAnsi(const Text& text);

}  // namespace orvanel::platform
