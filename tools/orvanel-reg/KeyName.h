// Key names on the command line, written as reg.exe writes them: the root as
// HKCR or HKEY_CLASSES_ROOT (any case), then the path below it.
#pragma once

#include "common/Text.h"

namespace orvanel::reg {

// The path below the root, empty for the root itself; false for another root.
bool ParseKeyName(const Text& name, Text& path);

// "HKEY_CLASSES_ROOT" followed by "\path" unless the path is empty.
Text FullKeyName(const Text& path);

// `path` followed by `child`, joined by '\'.
Text ChildPath(const Text& path, const Text& child);

// Compares ASCII letters without case.
bool SameAsciiWord(const Text& a, const char* b);

}  // namespace orvanel::reg
