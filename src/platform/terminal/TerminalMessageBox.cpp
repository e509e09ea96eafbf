// Message boxes of the terminal frontend: one line "CAPTION: TEXT" on standard
// error; a Yes/No question reads its answer as one line from standard input.
#include <cctype>
#include <cstdio>
#include <string>

#include "platform/terminal/TerminalFrontend.h"
#include "platform/terminal/TerminalInput.h"

namespace orvanel::platform::terminal {

using ui::MessageButtons;
using ui::MessageIcon;
using ui::MessageResult;
namespace {

bool IsYes(std::string answer) {
  for (auto& c : answer) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return answer == "y" || answer == "yes";
}

}  // namespace

MessageResult ShowMessageBox(const Text& text, const Text& caption, MessageButtons buttons,
                             MessageIcon) {
  std::string line = WideToUtf8(caption) + ": " + WideToUtf8(text);
  if (buttons == MessageButtons::Ok) {
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
    return MessageResult::Ok;
  }
  std::fprintf(stderr, "%s [y/N] ", line.c_str());
  std::fflush(stderr);
  const auto answer = ReadTerminalLine();
  if (!answer) std::fputc('\n', stderr);
  return answer && IsYes(*answer) ? MessageResult::Yes : MessageResult::No;
}

}  // namespace orvanel::platform::terminal
