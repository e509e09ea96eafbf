// Bytes from outside become text through Utf8ToWide: any bytes give well-formed UTF-16,
// and text that went out as UTF-8 comes back unchanged.
#include "FuzzInput.h"
#include "common/Text.h"

using namespace orvanel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Text text = Utf8ToWide(fuzz::Bytes(data, size));
  FUZZ_CHECK(text.size() <= size);
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF) {
      FUZZ_CHECK(i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF);
      ++i;
    } else {
      FUZZ_CHECK(!(c >= 0xDC00 && c <= 0xDFFF));
    }
  }
  FUZZ_CHECK(Utf8ToWide(WideToUtf8(text)) == text);
  return 0;
}
