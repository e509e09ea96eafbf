// The size of the fixed buffers that paths, registry texts and file lines are read
// into (MAX_PATH): 260 characters, the last for the terminating null.
#pragma once

#include <cstddef>

namespace orvanel {

inline constexpr size_t kMaxPath = 260;
// The longest text such a buffer holds.
inline constexpr size_t kMaxPathCharacters = kMaxPath - 1;

}  // namespace orvanel
