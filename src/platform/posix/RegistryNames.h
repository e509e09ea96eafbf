// How the native registry store keeps names: key and value names compare
// case-insensitively, as Windows compares them, by upper-casing each UTF-16 code
// unit; the store indexes that folded form and keeps the original spelling beside it.
#pragma once

#include <string>
#include <vector>

#include "common/Text.h"

namespace orvanel::platform::posix {

// The folded form of a name as bytes: each code unit upper-cased (Unicode-aware,
// not only A to Z) and written big-endian, so that comparing the bytes orders
// names as Windows orders its sub-keys.
std::string FoldName(const Text& name);

// Splits a key path at '\'. An empty path is the root (no components); an empty
// component or one longer than 255 characters makes the path invalid.
bool SplitKeyPath(const Text& path, std::vector<Text>& components);

}  // namespace orvanel::platform::posix
