#include "prompt/IgnoreList.h"

#include <cstdio>
#include <optional>
#include <string>

#include "common/DataFiles.h"
#include "common/MaxPath.h"
#include "platform/Files.h"
#include "prompt/PromptState.h"

namespace orvanel {
namespace {

// Longest line the list compares; longer lines are skipped, never cut short.
constexpr size_t kMaxLineBytes = kMaxPathCharacters;

enum class LineRead { Line, TooLong, End };

// Reads the bytes up to the next LF (dropped, with a CR right before it) into `line`,
// keeping at most what a comparable line can hold.
LineRead ReadListLine(std::FILE* file, std::string& line) {
  line.clear();
  bool overflow = false;
  int c = EOF;
  bool anyByte = false;
  while ((c = std::getc(file)) != EOF) {
    anyByte = true;
    if (c == '\n') break;
    if (line.size() <= kMaxLineBytes) {
      line.push_back(static_cast<char>(c));
    } else {
      overflow = true;
    }
  }
  if (!anyByte) return LineRead::End;
  if (c == '\n' && !overflow && !line.empty() && line.back() == '\r') line.pop_back();
  return overflow || line.size() > kMaxLineBytes ? LineRead::TooLong : LineRead::Line;
}

// The entry's bytes, one per character, or nothing when the format cannot hold it.
std::optional<std::string> EntryBytes(const Text& extension) {
  std::string bytes;
  for (const char16_t c : extension) {
    if (c > 0xFF || c == u'\n') return std::nullopt;
    bytes.push_back(static_cast<char>(c));
  }
  return bytes;
}

Text ListPath() { return CurrentPromptState().dataFolder + kIgnoreListFileName; }

}  // namespace

bool IsExtensionIgnored(const Text& extension) {
  std::FILE* file = platform::OpenFile(ListPath(), "rb");
  if (!file) return false;
  bool found = false;
  std::string line;
  for (LineRead read; !found && (read = ReadListLine(file, line)) != LineRead::End;) {
    found = read == LineRead::Line && WidenBytes(line) == extension;
  }
  std::fclose(file);
  return found;
}

bool IgnoreExtension() {
  const std::optional<std::string> entry = EntryBytes(CurrentPromptState().extension);
  if (!entry) return true;
  // The whole line goes out in one write, so no entry is left without its line end.
  const std::string line = *entry + "\r\n";
  std::FILE* file = platform::OpenFile(ListPath(), "ab");
  if (!file) return true;
  std::fwrite(line.data(), 1, line.size(), file);
  std::fflush(file);
  std::fclose(file);
  return true;
}

}  // namespace orvanel
