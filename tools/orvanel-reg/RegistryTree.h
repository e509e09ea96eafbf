// Whole sub-trees of the store, for export and delete.
#pragma once

#include <vector>

#include "RegFile.h"

namespace orvanel::reg {

// The key and every key below it with their values, parents before children,
// sub-keys in case-insensitive order.
platform::registry::Status ReadTree(const Text& path, std::vector<RegKey>& keys);

// Deletes the key and everything below it, deepest first.
platform::registry::Status DeleteTree(const Text& path);

}  // namespace orvanel::reg
