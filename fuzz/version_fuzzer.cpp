// The site's version answers are any bytes up to the text limit.
#include "FuzzInput.h"
#include "common/DecimalNumber.h"
#include "updates/VersionFormats.h"

using namespace orvanel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string body = fuzz::Bytes(data, size);
  const SoftwareVersion version = ParseSoftwareVersion(body);
  const size_t stop = body.find('.');
  FUZZ_CHECK(version.major == ParseDecimal(WidenBytes(body.substr(0, stop))));
  if (stop == std::string::npos) FUZZ_CHECK(version.minor == version.major);
  FUZZ_CHECK(ParseDataVersion(body) == ParseDecimal(WidenBytes(body)));
  return 0;
}
