// Reading an extension key's default value the way both registration and
// unregistration judge it: into a buffer of 260 bytes.
#pragma once

#include "common/Text.h"
#include "platform/Registry.h"

namespace orvanel {

struct DefaultValue {
  enum class Kind {
    Absent,      // the key has no default value
    Text,        // a text that fits the buffer (possibly empty)
    TooLong,     // a text that does not fit: it names something
    NotText,     // a value of another type: it names no class of ours, but is not empty
    Unreadable,  // the store could not be read
  };
  Kind kind = Kind::Unreadable;
  orvanel::Text text;  // for Kind::Text, up to its first null
};

DefaultValue ReadDefaultValue(const platform::registry::Key& key);

}  // namespace orvanel
