// The tracking-off flag: value "private" of the Orvanel class key.
#include <cctype>
#include <climits>

#include "online/Tracker.h"
#include "platform/Registry.h"

namespace orvanel {
namespace {

namespace registry = platform::registry;

// The number at the start of the bytes, read the way atoi reads it: leading white
// space, an optional sign, decimal digits up to the first other byte (0 without
// any). Stops at `size` even when no null comes, and saturates instead of overflowing.
long long LeadingNumber(const char* bytes, size_t size) {
  size_t i = 0;
  while (i < size && std::isspace(static_cast<unsigned char>(bytes[i]))) ++i;
  bool negative = false;
  if (i < size && (bytes[i] == '+' || bytes[i] == '-')) negative = bytes[i++] == '-';
  long long number = 0;
  for (; i < size && std::isdigit(static_cast<unsigned char>(bytes[i])); ++i) {
    if (number < LLONG_MAX / 10) number = number * 10 + (bytes[i] - '0');
  }
  return negative ? -number : number;
}

}  // namespace

bool IsTrackingOff() {
  registry::Key key;
  if (registry::OpenKey(u"Orvanel", registry::Access::Read, key) != registry::Status::Ok) return false;
  char buffer[256] = {};
  uint32_t size = sizeof buffer;
  // Whatever the type, the stored bytes are read as text: a number value holding 1
  // is not the text "1". A value too large for the buffer is no flag the switches
  // wrote, so it leaves tracking on, as does any other failed read.
  if (registry::QueryValueNarrow(key, "private", buffer, size, nullptr) != registry::Status::Ok) {
    return false;
  }
  return LeadingNumber(buffer, size < sizeof buffer ? size : sizeof buffer) == 1;
}

}  // namespace orvanel
