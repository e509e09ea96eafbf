#include "associations/Catalogue.h"

#include <cstdio>
#include <memory>
#include <string>

#include "common/DataFiles.h"
#include "common/MaxPath.h"
#include "platform/Files.h"

namespace orvanel {
namespace {

// The line buffer holds kMaxPath bytes, the last for the terminating null.
constexpr size_t kMaxLineBytes = kMaxPathCharacters;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Unicode's control characters (general category Cc): C0, DEL and C1.
bool IsControl(unsigned char byte) { return byte < 0x20 || (byte >= 0x7F && byte <= 0x9F); }

bool CanBeExtension(const std::string& line) {
  for (const char c : line) {
    if (c == '\\' || IsControl(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

// Collects the bytes of one line. Only kMaxLineBytes and a possible CR are kept,
// so memory stays the same however long the line or the file.
class LineCollector {
 public:
  LineCollector() { bytes_.reserve(kMaxLineBytes + 1); }

  void Add(char byte) {
    if (bytes_.size() <= kMaxLineBytes) {
      bytes_.push_back(byte);
    } else {
      tooLong_ = true;
    }
  }

  // Hands on the line as an extension when it is one; then starts the next line.
  // A CR right before the line feed belongs to the line end.
  void Finish(bool atLineFeed, const std::function<void(const Text&)>& step) {
    if (atLineFeed && !tooLong_ && !bytes_.empty() && bytes_.back() == '\r') bytes_.pop_back();
    const bool usable = !tooLong_ && bytes_.size() <= kMaxLineBytes && !bytes_.empty() &&
                        bytes_ != "extensions" && CanBeExtension(bytes_);
    if (usable) step(WidenBytes(bytes_));
    Discard();
  }

  void Discard() {
    bytes_.clear();
    tooLong_ = false;
  }

  bool Empty() const { return bytes_.empty() && !tooLong_; }

 private:
  std::string bytes_;
  bool tooLong_ = false;
};

}  // namespace

bool ForEachCatalogueExtension(const Text& dataFolder,
                               const std::function<void(const Text& extension)>& step) {
  std::unique_ptr<std::FILE, FileCloser> file(
      platform::OpenFile(dataFolder + kCatalogueFileName, "rb"));
  if (!file) return false;

  LineCollector line;
  char chunk[8192];
  for (;;) {
    const size_t count = std::fread(chunk, 1, sizeof chunk, file.get());
    for (size_t i = 0; i < count; ++i) {
      if (chunk[i] == '\n') {
        line.Finish(true, step);
      } else {
        line.Add(chunk[i]);
      }
    }
    if (count < sizeof chunk) break;
  }
  // A last line without line end counts, unless reading broke off inside it.
  if (std::ferror(file.get())) {
    line.Discard();
  } else if (!line.Empty()) {
    line.Finish(false, step);
  }
  return true;
}

}  // namespace orvanel
