// The ignore list is a file anyone with the user's rights may have edited. Its reader
// must cope with any bytes, and what the writer adds the reader must find again.
// Input: the extension up to the first NUL byte, then the list's bytes.
#include "FuzzInput.h"
#include "prompt/IgnoreList.h"
#include "prompt/PromptState.h"

using namespace orvanel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input = fuzz::Bytes(data, size);
  const size_t split = input.find('\0');
  const Text extension = Utf8ToWide(input.substr(0, split));
  const std::string list = split == std::string::npos ? std::string() : input.substr(split + 1);

  const std::string path = fuzz::WriteScratchFile("ignore.txt", list);
  StorePromptState(nullptr, u"file." + extension, Utf8ToWide(fuzz::ScratchFolder()), u'/');
  const Text& current = CurrentPromptState().extension;
  IsExtensionIgnored(current);

  // Written once, found again; or not written at all, so the list does not grow.
  fuzz::WriteScratchFile("ignore.txt", "");
  IgnoreExtension();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  FUZZ_CHECK(file != nullptr);
  const bool written = std::fgetc(file) != EOF;
  std::fclose(file);
  if (written) FUZZ_CHECK(IsExtensionIgnored(current));
  return 0;
}
