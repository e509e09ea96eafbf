#include "KeyName.h"

namespace orvanel::reg {

bool SameAsciiWord(const Text& a, const char* b) {
  size_t i = 0;
  for (; b[i]; ++i) {
    if (i >= a.size()) return false;
    char16_t x = a[i], y = static_cast<unsigned char>(b[i]);
    if (x >= u'a' && x <= u'z') x -= 32;
    if (y >= u'a' && y <= u'z') y -= 32;
    if (x != y) return false;
  }
  return i == a.size();
}

bool ParseKeyName(const Text& name, Text& path) {
  const size_t slash = name.find(u'\\');
  const Text root = name.substr(0, slash);
  if (!SameAsciiWord(root, "HKCR") && !SameAsciiWord(root, "HKEY_CLASSES_ROOT")) return false;
  path = slash == Text::npos ? Text() : name.substr(slash + 1);
  if (!path.empty() && path.back() == u'\\') path.pop_back();  // reg.exe allows one
  return true;
}

Text FullKeyName(const Text& path) {
  return path.empty() ? Text(u"HKEY_CLASSES_ROOT") : u"HKEY_CLASSES_ROOT\\" + path;
}

Text ChildPath(const Text& path, const Text& child) {
  return path.empty() ? child : path + u'\\' + child;
}

}  // namespace orvanel::reg
