// The open-file prompt of the terminal frontend: the texts and numbered choices on
// standard error, the answer as one line from standard input.
#include <cstdio>
#include <optional>
#include <string>

#include "platform/terminal/TerminalFrontend.h"
#include "platform/terminal/TerminalInput.h"
#include "platform/terminal/TerminalText.h"

namespace orvanel::platform::terminal {

using ui::PromptAnswer;
using ui::PromptContent;
namespace {


void ShowPromptTexts(const PromptContent& content) {
  std::fprintf(stderr, "%s\n%s\n%s %s\n%s\n", TerminalText(content.caption).c_str(),
               TerminalText(content.intro).c_str(), TerminalText(content.fileLabel).c_str(),
               TerminalText(content.fileName).c_str(), TerminalText(content.question).c_str());
  for (int i = 0; i < 3; ++i)
    std::fprintf(stderr, "  %d  %s\n", i + 1, TerminalText(content.choices[i]).c_str());
  std::fprintf(stderr, "  4  %s\n", TerminalText(content.dontShowAgain).c_str());
}

// The answer a line stands for, or nothing when it is not understood.
std::optional<PromptAnswer> Interpret(const std::string& line) {
  PromptAnswer answer;
  if (line == "q" || line == "Q") return answer;
  answer.okPressed = true;
  if (line.empty()) return answer;
  if (line.size() != 1 || line[0] < '1' || line[0] > '4') return std::nullopt;
  if (line[0] == '4') {
    answer.dontShowAgain = true;
  } else {
    answer.choice = line[0] - '0';
  }
  return answer;
}

}  // namespace

PromptAnswer RunPrompt(const PromptContent& content) {
  ShowPromptTexts(content);
  const std::string ok = TerminalText(content.ok);
  for (;;) {
    std::fprintf(stderr, "1, 2, 3 or 4 and Enter for %s (Enter alone: 1; q: close): ", ok.c_str());
    std::fflush(stderr);
    const std::optional<std::string> line = ReadTerminalLine();
    if (!line) {
      std::fputc('\n', stderr);
      return PromptAnswer{};
    }
    if (const auto answer = Interpret(WithoutBlanks(*line))) return *answer;
    std::fprintf(stderr, "Not understood: %s\n", TerminalText(Utf8ToWide(*line)).c_str());
  }
}

}  // namespace orvanel::platform::terminal
