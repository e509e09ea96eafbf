#include "updates/VersionFormats.h"

#include <cstdio>

#include "common/DecimalNumber.h"
#include "common/MaxPath.h"
#include "platform/Files.h"

namespace orvanel {
namespace {

// Only the first characters of the local file's first line count, as many as the
// line buffer with its terminating null holds.
constexpr size_t kMaxLineCharacters = kMaxPathCharacters;

// The first line as text-mode reading gives it: up to the line feed, a CR right
// before it dropped. Empty when the file cannot be opened.
std::string ReadFirstLine(const Text& path) {
  std::string line;
  std::FILE* file = platform::OpenFile(path, "rb");
  if (!file) return line;
  int c = std::fgetc(file);
  while (c != EOF && c != '\n' && line.size() < kMaxLineCharacters) {
    if (c == '\r') {
      const int next = std::fgetc(file);
      if (next == '\n') break;
      if (next != EOF) std::ungetc(next, file);
    }
    line.push_back(static_cast<char>(c));
    c = std::fgetc(file);
  }
  std::fclose(file);
  return line;
}

}  // namespace

SoftwareVersion ParseSoftwareVersion(const std::string& body) {
  const Text version = WidenBytes(body);
  const size_t stop = version.find(u'.');
  SoftwareVersion parsed;
  parsed.major = ParseDecimal(version.substr(0, stop));
  parsed.minor = stop == Text::npos ? parsed.major : ParseDecimal(version.substr(stop + 1));
  return parsed;
}

int32_t ParseDataVersion(const std::string& body) { return ParseDecimal(WidenBytes(body)); }

int32_t ReadLocalDataVersion(const Text& path) { return ParseDataVersion(ReadFirstLine(path)); }

}  // namespace orvanel
