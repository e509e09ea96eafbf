#include "platform/posix/RegistryNames.h"

#include <locale.h>
#include <wctype.h>

#include <array>
#include <memory>

namespace orvanel::platform::posix {
namespace {

constexpr size_t kMaxKeyNameLength = 255;

// Upper case of every code unit, built once. Surrogates stay as they are, like
// Windows' per-unit upcase table; without the C.UTF-8 locale only A to Z fold.
const std::array<char16_t, 0x10000>& UpcaseTable() {
  static const auto table = [] {
    auto upcase = std::make_unique<std::array<char16_t, 0x10000>>();
    locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    for (char32_t unit = 0; unit < 0x10000; ++unit) {
      char32_t upper = unit;
      if (unit >= u'a' && unit <= u'z') {
        upper = unit - u'a' + u'A';
      } else if (utf8 && unit >= 0x80 && (unit < 0xD800 || unit > 0xDFFF)) {
        const wint_t mapped = towupper_l(static_cast<wint_t>(unit), utf8);
        if (mapped < 0x10000 && (mapped < 0xD800 || mapped > 0xDFFF)) upper = mapped;
      }
      (*upcase)[unit] = static_cast<char16_t>(upper);
    }
    if (utf8) freelocale(utf8);
    return upcase;
  }();
  return *table;
}

// Writes the unit at `out` and returns the end of what it wrote.
char* PutUnit(char* out, char16_t unit) {
  if (unit < 0x80) {
    *out++ = static_cast<char>(unit);
  } else if (unit < 0x800) {
    *out++ = static_cast<char>(0xC0 | unit >> 6);
    *out++ = static_cast<char>(0x80 | (unit & 0x3F));
  } else {
    *out++ = static_cast<char>(0xE0 | unit >> 12);
    *out++ = static_cast<char>(0x80 | (unit >> 6 & 0x3F));
    *out++ = static_cast<char>(0x80 | (unit & 0x3F));
  }
  return out;
}

// The units as stored, each mapped first (to fold it, or not).
template <typename Map>
std::string Stored(const Text& name, Map map) {
  std::string bytes(name.size() * 3, '\0');
  char* end = bytes.data();
  for (const char16_t unit : name) end = PutUnit(end, map(unit));
  bytes.resize(static_cast<size_t>(end - bytes.data()));
  return bytes;
}

}  // namespace

std::string FoldName(const Text& name) {
  const auto& upcase = UpcaseTable();
  return Stored(name, [&](char16_t unit) { return upcase[unit]; });
}

std::string StoredName(const Text& name) {
  return Stored(name, [](char16_t unit) { return unit; });
}

Text NameFromStored(const void* data, size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  Text name;
  name.reserve(size);
  const auto continuation = [&](size_t at) { return at < size && (bytes[at] & 0xC0) == 0x80; };
  for (size_t i = 0; i < size;) {
    const unsigned char lead = bytes[i];
    if (lead < 0x80) {
      name.push_back(lead);
      i += 1;
    } else if ((lead & 0xE0) == 0xC0 && continuation(i + 1)) {
      name.push_back(static_cast<char16_t>((lead & 0x1F) << 6 | (bytes[i + 1] & 0x3F)));
      i += 2;
    } else if ((lead & 0xF0) == 0xE0 && continuation(i + 1) && continuation(i + 2)) {
      name.push_back(static_cast<char16_t>((lead & 0x0F) << 12 | (bytes[i + 1] & 0x3F) << 6 |
                                           (bytes[i + 2] & 0x3F)));
      i += 3;
    } else {
      name.push_back(u'\uFFFD');
      i += 1;
    }
  }
  return name;
}

bool SplitKeyPath(const Text& path, std::vector<Text>& components) {
  components.clear();
  if (path.empty()) return true;
  size_t start = 0;
  while (true) {
    const size_t end = path.find(u'\\', start);
    const size_t length = (end == Text::npos ? path.size() : end) - start;
    if (length == 0 || length > kMaxKeyNameLength) return false;
    components.push_back(path.substr(start, length));
    if (end == Text::npos) return true;
    start = end + 1;
  }
}

}  // namespace orvanel::platform::posix
