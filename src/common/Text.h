// Text inside Orvanel is UTF-16 (as on Windows); bytes are std::string.
#pragma once

#include <string>

namespace orvanel {

using Text = std::u16string;

// Byte text to text, decoding UTF-8; each invalid sequence becomes U+FFFD.
Text Utf8ToWide(const std::string& bytes);

// Text to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string WideToUtf8(const Text& text);

// 8-bit file text: each byte becomes the character of the same value.
Text WidenBytes(const std::string& bytes);

// ASCII text for building URLs and keys from constants.
inline Text AsciiText(const char* ascii) { return WidenBytes(ascii); }

}  // namespace orvanel
