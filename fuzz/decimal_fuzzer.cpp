// Version numbers come from the download site and from local files. The one decimal
// reader must agree with the C runtime's strtol over the 32-bit range, for any bytes.
#include <cerrno>
#include <climits>

#include "FuzzInput.h"
#include "common/DecimalNumber.h"

using namespace orvanel;

namespace {

// strtol as a runtime with a 32-bit long does it: clamped to the 32-bit range.
int32_t RuntimeReading(const std::string& bytes) {
  const std::string text = bytes.substr(0, bytes.find('\0'));  // strtol stops at a NUL
  const long long value = std::strtoll(text.c_str(), nullptr, 10);
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes = fuzz::Bytes(data, size);
  const int32_t parsed = ParseDecimal(WidenBytes(bytes.substr(0, bytes.find('\0'))));
  FUZZ_CHECK(parsed == RuntimeReading(bytes));
  ParseDecimal(Utf8ToWide(bytes));  // characters above U+00FF as well
  return 0;
}
