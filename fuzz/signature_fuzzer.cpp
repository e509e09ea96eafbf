// The installer's signature comes from the download site: any bytes. Against the key
// built into the program, whose private half nobody here holds, nothing verifies. The
// input is also tried as the public key, so the key reader sees hostile text too.
#include "FuzzInput.h"
#include "platform/Signature.h"
#include "resources/UpdateKey.h"

using namespace orvanel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const Text installer =
      Utf8ToWide(fuzz::WriteScratchFile("installer.exe", "MZ\x90 a harmless installer"));
  const std::string bytes = fuzz::Bytes(data, size);
  FUZZ_CHECK(!platform::VerifyFileSignature(installer, bytes, kBuiltInUpdateKey));
  platform::VerifyFileSignature(installer, bytes, bytes);
  return 0;
}
