// The prompt's file path comes from whoever started Orvanel: any text. The name and
// the extension it takes from it must have the forms the prompt and the ignore list
// rely on.
#include "FuzzInput.h"
#include "prompt/FileNameParts.h"

using namespace orvanel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Text path = Utf8ToWide(fuzz::Bytes(data, size));
  for (const char16_t separator : {u'/', u'\\'}) {
    const Text name = FileNameOf(path, separator);
    FUZZ_CHECK(name.find(separator) == Text::npos);
    FUZZ_CHECK(path.size() >= name.size() &&
               path.compare(path.size() - name.size(), name.size(), name) == 0);
    const Text extension = ExtensionOf(name);
    FUZZ_CHECK(extension.find(u'.') == Text::npos);
    FUZZ_CHECK(extension.size() <= name.size());
    for (const char16_t c : extension) FUZZ_CHECK(!(c >= u'A' && c <= u'Z'));
    FUZZ_CHECK(LowerAsciiLetters(name).compare(name.size() - extension.size(), extension.size(),
                                               extension) == 0);
  }
  return 0;
}
