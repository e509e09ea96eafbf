#include "CaseName.h"

namespace orvanel::test {

std::string CaseNameOf(const std::string& text) {
  if (text.empty()) return "empty";
  std::string name = text;
  for (char& c : name) {
    const bool allowed =
        (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    if (!allowed) c = '_';
  }
  return name;
}

}  // namespace orvanel::test
