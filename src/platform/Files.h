// Files of the data folder, named by text paths. Always opened in byte mode:
// the callers handle line ends themselves, identically on every platform.
#pragma once

#include <cstdio>

#include "common/Text.h"

namespace orvanel::platform {

// fopen with a text path ("rb", "wb", "ab", ...); null when it cannot be opened.
// A file that an elevated copy creates stays owned by the user who asked for it.
std::FILE* OpenFile(const Text& path, const char* mode);

// Puts `source` in place of `target` in one step: afterwards either the old target
// or the new file is there, never neither.
bool ReplaceFile(const Text& source, const Text& target);

bool RemoveFile(const Text& path);

}  // namespace orvanel::platform
