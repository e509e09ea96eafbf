// The one way numbers are read from text: version files, local and remote, and the
// tracking-off flag.
#pragma once

#include <cstdint>

#include "common/Text.h"

namespace orvanel {

// Base-10 string-to-long as the C runtime does it where long has 32 bits: leading
// white space, an optional sign, then digits up to the first other character.
// No digit gives 0; a value beyond the 32-bit range becomes its nearest end.
int32_t ParseDecimal(const Text& text);

}  // namespace orvanel
