#include "platform/terminal/TerminalInput.h"

#include <cstdio>

namespace orvanel::platform::terminal {

std::optional<std::string> ReadTerminalLine() {
  std::string line;
  int c;
  while ((c = std::getchar()) != EOF && c != '\n') line.push_back(static_cast<char>(c));
  if (c == EOF && line.empty()) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

}  // namespace orvanel::platform::terminal
