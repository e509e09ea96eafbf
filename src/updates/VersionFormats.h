// Reading the version files: the site's "software_version.txt" and "data_version.txt"
// (outside input, any bytes at all) and the local "data_version.txt".
#pragma once

#include <cstdint>
#include <string>

#include "common/Text.h"

namespace orvanel {

struct SoftwareVersion {
  int32_t major = 0;
  int32_t minor = 0;
};

// "major.minor": the major number from the text before the first dot, the minor from
// all the text after it (so 0.3.1 has minor 3); without a dot both from the whole text.
// Each part is read as ParseDecimal reads it; the bytes are widened one for one.
SoftwareVersion ParseSoftwareVersion(const std::string& body);

// A body that begins with a decimal number; anything else reads as 0.
int32_t ParseDataVersion(const std::string& body);

// The number at the start of the local file's first line: the bytes up to the first
// line feed (a CR right before it dropped), at most 259 of them. 0 when the file
// cannot be opened or the line holds no number.
int32_t ReadLocalDataVersion(const Text& path);

}  // namespace orvanel
