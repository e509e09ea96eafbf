#include "platform/terminal/TerminalText.h"

namespace orvanel::platform::terminal {

std::string TerminalText(const Text& text) {
  Text shown = text;
  for (auto& c : shown) {
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) c = u'?';
  }
  return WideToUtf8(shown);
}

std::string WithoutBlanks(const std::string& answer) {
  const size_t first = answer.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return answer.substr(first, answer.find_last_not_of(" \t") - first + 1);
}

}  // namespace orvanel::platform::terminal
