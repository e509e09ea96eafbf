// The local data version file: only its first line, and of that at most 259 bytes,
// counts, whatever the file holds.
#include "FuzzInput.h"
#include "common/MaxPath.h"
#include "updates/VersionFormats.h"

using namespace orvanel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes = fuzz::Bytes(data, size);
  const std::string path = fuzz::WriteScratchFile("data_version.txt", bytes);
  const int32_t version = ReadLocalDataVersion(Utf8ToWide(path));
  // Nothing after the first line feed, nor after the first 259 bytes, changes it.
  const size_t lineFeed = bytes.find('\n');
  const std::string firstPart = bytes.substr(0, std::min(lineFeed, kMaxPathCharacters));
  fuzz::WriteScratchFile("data_version.txt", firstPart + "\n987654321");
  FUZZ_CHECK(ReadLocalDataVersion(Utf8ToWide(path)) == version);
  return 0;
}
