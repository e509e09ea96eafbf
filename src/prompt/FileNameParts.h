// Splitting a file path into the file name and the extension the prompt works with.
#pragma once

#include "common/Text.h"

namespace orvanel {

// The part after the last `separator`; the whole path when there is none.
// Only `separator` counts: the other slash is an ordinary character.
Text FileNameOf(const Text& path, char16_t separator);

// The part of `fileName` after its last dot (possibly empty), or the whole name when
// it has no dot; never the dot itself. Lowered with LowerAsciiLetters.
Text ExtensionOf(const Text& fileName);

// Only A to Z become a to z; every other code unit stays, whatever the user's language.
Text LowerAsciiLetters(Text text);

}  // namespace orvanel
