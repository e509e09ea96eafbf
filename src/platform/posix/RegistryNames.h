// How the native registry store keeps names: key and value names compare
// case-insensitively, as Windows compares them, by upper-casing each UTF-16 code
// unit; the store indexes that folded form and keeps the original spelling beside it.
// Both are written unit by unit in UTF-8's byte patterns (one byte for ASCII, at
// most three), which keeps any UTF-16, unpaired surrogates included, and whose
// bytes sort as the code units do.
#pragma once

#include <string>
#include <vector>

#include "common/Text.h"

namespace orvanel::platform::posix {

// The folded form of a name as bytes: each code unit upper-cased (Unicode-aware,
// not only A to Z), so that comparing the bytes orders names as Windows orders
// its sub-keys.
std::string FoldName(const Text& name);

// A name exactly as given, as bytes, and back. Bytes that no name gives (a
// damaged store) read as U+FFFD each.
std::string StoredName(const Text& name);
Text NameFromStored(const void* bytes, size_t size);

// Splits a key path at '\'. An empty path is the root (no components); an empty
// component or one longer than 255 characters makes the path invalid.
bool SplitKeyPath(const Text& path, std::vector<Text>& components);

}  // namespace orvanel::platform::posix
