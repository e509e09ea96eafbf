// Addresses of the info site's pages about a file type.
#pragma once

#include "common/Text.h"

namespace orvanel {

inline const Text kSearchPageKind = u"/type/";
inline const Text kAboutPageKind = u"/extension/";

// Every byte of the UTF-8 form outside letters, digits, "-", ".", "_" and "~"
// becomes %XX, so that a name such as a.x#y or a.x y still names its own page.
Text PercentEncode(const Text& text);

// Info site base, page kind, the encoded extension, "/", the publisher word, then
// `idQuery` as it is (empty, or "?_id=" and the machine identifier).
Text InfoPageAddress(const Text& pageKind, const Text& extension, const Text& idQuery);

}  // namespace orvanel
