// The extensions for which the user asked not to see the prompt again: the file
// "ignore.txt" in the prompt's data folder, one 8-bit entry per line, each line
// ending in CR LF.
#pragma once

#include "common/Text.h"

namespace orvanel {

// True when `extension` is exactly one of the lines (case and blanks count).
// A missing or unreadable list ignores nothing.
bool IsExtensionIgnored(const Text& extension);

// Appends the prompt's current extension as a line of its own. An extension that the
// one-byte-per-character format cannot hold (a character above U+00FF, or a line feed)
// is not written, so the prompt shows again next time. Always true: nothing is reported.
bool IgnoreExtension();

}  // namespace orvanel
