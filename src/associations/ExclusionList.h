// Extensions that Orvanel never takes over, whatever the catalogue says: types
// that run code or change the system when opened.
#pragma once

#include <vector>

#include "common/Text.h"

namespace orvanel {

// The 33 entries, lower case, without dot, in their stored order.
std::vector<Text> ExclusionList();

}  // namespace orvanel
