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

}  // namespace

std::string FoldName(const Text& name) {
  const auto& upcase = UpcaseTable();
  std::string folded(name.size() * 2, '\0');
  for (size_t i = 0; i < name.size(); ++i) {
    const char16_t unit = upcase[name[i]];
    folded[2 * i] = static_cast<char>(unit >> 8);
    folded[2 * i + 1] = static_cast<char>(unit & 0xFF);
  }
  return folded;
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
