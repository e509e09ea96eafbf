#include "associations/DefaultValue.h"

#include <cstdint>

#include "associations/RegistryLayout.h"
#include "common/MaxPath.h"

namespace orvanel {
namespace {

namespace registry = platform::registry;

constexpr uint32_t kBufferBytes = kMaxPath;

}  // namespace

DefaultValue ReadDefaultValue(const registry::Key& key) {
  char16_t buffer[kBufferBytes / sizeof(char16_t)] = {};
  uint32_t size = kBufferBytes;
  registry::Type type = registry::Type::None;
  DefaultValue value;
  switch (registry::QueryValue(key, layout::kDefaultValue, buffer, size, &type)) {
    case registry::Status::Ok:
      break;
    case registry::Status::NotFound:
      value.kind = DefaultValue::Kind::Absent;
      return value;
    case registry::Status::MoreData:
      value.kind = DefaultValue::Kind::TooLong;
      return value;
    default:
      value.kind = DefaultValue::Kind::Unreadable;
      return value;
  }
  if (type != registry::Type::Sz && type != registry::Type::ExpandSz) {
    value.kind = DefaultValue::Kind::NotText;
    return value;
  }
  // The stored text ends at its null, or at the end of the data when it has none.
  const size_t characters = size / sizeof(char16_t);
  size_t length = 0;
  while (length < characters && buffer[length] != u'\0') ++length;
  value.kind = DefaultValue::Kind::Text;
  value.text.assign(buffer, length);
  return value;
}

}  // namespace orvanel
