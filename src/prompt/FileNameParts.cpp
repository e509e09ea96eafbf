#include "prompt/FileNameParts.h"

namespace orvanel {

Text FileNameOf(const Text& path, char16_t separator) {
  const size_t last = path.rfind(separator);
  return last == Text::npos ? path : path.substr(last + 1);
}

Text ExtensionOf(const Text& fileName) {
  const size_t dot = fileName.rfind(u'.');
  return LowerAsciiLetters(dot == Text::npos ? fileName : fileName.substr(dot + 1));
}

Text LowerAsciiLetters(Text text) {
  for (auto& c : text) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return text;
}

}  // namespace orvanel
