// The catalogue comes over plain HTTP: whatever it holds, only lines that can name an
// extension key reach the registration.
#include "FuzzInput.h"
#include "associations/Catalogue.h"
#include "common/MaxPath.h"

using namespace orvanel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::WriteScratchFile("extensions.txt", fuzz::Bytes(data, size));
  const bool read = ForEachCatalogueExtension(Utf8ToWide(fuzz::ScratchFolder()),
                                              [](const Text& extension) {
    FUZZ_CHECK(!extension.empty());
    FUZZ_CHECK(extension.size() <= kMaxPathCharacters);
    FUZZ_CHECK(extension != u"extensions");
    for (const char16_t c : extension) {
      FUZZ_CHECK(c != u'\\');
      FUZZ_CHECK(c >= 0x20 && !(c >= 0x7F && c <= 0x9F) && c <= 0xFF);
    }
  });
  FUZZ_CHECK(read);
  return 0;
}
