#include "updates/VersionChecks.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "common/DataFiles.h"
#include "common/MaxPath.h"
#include "common/ProgramInfo.h"
#include "platform/DataFolder.h"
#include "online/HttpTransfer.h"
#include "platform/Files.h"
#include "common/DecimalNumber.h"

namespace orvanel {
namespace {

// Only the first characters of the local file's first line count, as many as the
// line buffer with its terminating null holds.
constexpr size_t kMaxLineCharacters = kMaxPathCharacters;

int32_t& RememberedRemoteDataVersion() {
  static int32_t version = 0;
  return version;
}

Text LocalDataVersionPath() { return ProcessDataFolder() + kDataVersionFileName; }

// The first line of the local file as text-mode reading gives it: up to the line
// feed, a CR right before it dropped. Empty when the file cannot be opened.
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

int32_t ParseBytes(const std::string& bytes) { return ParseDecimal(WidenBytes(bytes)); }

}  // namespace

bool CatalogueUpdateAvailable() {
  const int32_t remote = ParseBytes(HttpGetText(DownloadSiteBase() + u"/data_version.txt"));
  RememberedRemoteDataVersion() = remote;
  const int32_t local = ParseBytes(ReadFirstLine(LocalDataVersionPath()));
  return local < remote;
}

bool SoftwareUpdateAvailable() {
  const Text version = WidenBytes(HttpGetText(DownloadSiteBase() + u"/software_version.txt"));
  const size_t stop = version.find(u'.');
  const int32_t major = ParseDecimal(version.substr(0, stop));
  const int32_t minor = stop == Text::npos ? major : ParseDecimal(version.substr(stop + 1));
  return major > kVersionMajor || (major == kVersionMajor && minor > kVersionMinor);
}

bool SaveDataVersion() {
  const Text path = LocalDataVersionPath();
  std::FILE* file = platform::OpenFile(path, "wb");
  if (!file) return false;
  const std::string digits = std::to_string(RememberedRemoteDataVersion());
  const bool written = std::fwrite(digits.data(), 1, digits.size(), file) == digits.size();
  const bool closed = std::fclose(file) == 0;
  if (written && closed) return true;
  platform::RemoveFile(path);
  return false;
}

}  // namespace orvanel
