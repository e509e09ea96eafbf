#include "common/Utf16Le.h"

namespace orvanel {

std::string ToUtf16Le(const Text& text) {
  std::string bytes;
  AppendUtf16Le(bytes, text);
  return bytes;
}

void AppendUtf16Le(std::string& bytes, const Text& text) {
  const size_t start = bytes.size();
  bytes.resize(start + text.size() * 2);
  char* out = &bytes[start];
  for (const char16_t unit : text) {
    *out++ = static_cast<char>(unit & 0xFF);
    *out++ = static_cast<char>(unit >> 8);
  }
}

Text FromUtf16Le(const void* data, size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  Text text(size / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
  return text;
}

Text FromUtf16Le(const std::string& bytes) { return FromUtf16Le(bytes.data(), bytes.size()); }

}  // namespace orvanel
