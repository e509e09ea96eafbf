// The tracking-off flag: value "private" of the Orvanel class key.
#include <string>

#include "common/DecimalNumber.h"
#include "online/Tracker.h"
#include "platform/Registry.h"

namespace orvanel {

namespace registry = platform::registry;

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
  // Read as atoi reads it: the bytes up to the first null, whatever follows.
  const std::string bytes(buffer, size < sizeof buffer ? size : sizeof buffer);
  return ParseDecimal(WidenBytes(bytes.substr(0, bytes.find('\0')))) == 1;
}

}  // namespace orvanel
