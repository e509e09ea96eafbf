#include "prompt/InfoPageAddress.h"

#include "common/ProgramInfo.h"

namespace orvanel {
namespace {

bool IsUnreserved(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
         (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' || byte == '~';
}

}  // namespace

Text PercentEncode(const Text& text) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  Text encoded;
  for (const char c : WideToUtf8(text)) {
    const auto byte = static_cast<unsigned char>(c);
    if (IsUnreserved(byte)) {
      encoded.push_back(byte);
    } else {
      encoded.push_back(u'%');
      encoded.push_back(static_cast<char16_t>(kHexDigits[byte >> 4]));
      encoded.push_back(static_cast<char16_t>(kHexDigits[byte & 0x0F]));
    }
  }
  return encoded;
}

Text InfoPageAddress(const Text& pageKind, const Text& extension, const Text& idQuery) {
  return InfoSiteBase() + pageKind + PercentEncode(extension) + u"/" + kPublisher + idQuery;
}

}  // namespace orvanel
