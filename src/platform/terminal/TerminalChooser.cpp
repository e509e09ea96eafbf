// The application chooser of the terminal frontend: the installed applications for
// the file's type as a numbered list; the one picked is started with the file.
#include <cstdio>
#include <optional>
#include <string>

#include "platform/posix/InstalledApplications.h"
#include "platform/terminal/TerminalFrontend.h"
#include "platform/terminal/TerminalInput.h"
#include "platform/terminal/TerminalText.h"

namespace orvanel::platform::terminal {
namespace {

std::string Shown(const std::string& utf8) { return TerminalText(Utf8ToWide(utf8)); }

std::optional<size_t> AskForApplication(size_t count) {
  for (;;) {
    std::fprintf(stderr,
                 "Number of the application to open it with (1 to %zu; Enter or q: none): ", count);
    std::fflush(stderr);
    const auto line = ReadTerminalLine();
    if (!line) {
      std::fputc('\n', stderr);
      return std::nullopt;
    }
    const std::string answer = WithoutBlanks(*line);
    if (answer.empty() || answer == "q" || answer == "Q") return std::nullopt;
    if (answer.size() <= 4 && answer.find_first_not_of("0123456789") == std::string::npos) {
      const size_t number = std::stoul(answer);
      if (number >= 1 && number <= count) return number;
    }
    std::fprintf(stderr, "Not understood: %s\n", Shown(*line).c_str());
  }
}

}  // namespace

bool ShowApplicationChooser(const Text& filePath) {
  const std::string path = WideToUtf8(filePath);
  const std::string type = posix::ContentTypeOf(path);
  const posix::ApplicationList list(type);
  const auto& apps = list.applications();

  const std::string fileName = TerminalText(filePath.substr(filePath.rfind(u'/') + 1));
  if (apps.empty()) {
    std::fprintf(stderr, "No installed application is known for %s (type %s).\n", fileName.c_str(),
                 Shown(type).c_str());
    return false;
  }
  std::fprintf(stderr, "Applications for %s (type %s):\n", fileName.c_str(), Shown(type).c_str());
  for (size_t i = 0; i < apps.size(); ++i)
    std::fprintf(stderr, "  %zu  %s\n", i + 1, Shown(posix::ApplicationName(apps[i])).c_str());
  const auto number = AskForApplication(apps.size());
  if (!number) return true;
  GAppInfo* app = apps[*number - 1];
  const std::string failure = posix::LaunchWithFile(app, path);
  if (!failure.empty()) {
    std::fprintf(stderr, "Could not start %s: %s\n", Shown(posix::ApplicationName(app)).c_str(),
                 Shown(failure).c_str());
  }
  return true;
}

}  // namespace orvanel::platform::terminal
