// Walking the native registry store, for orvanel-reg: the sub-keys and values of
// an open key (opened for reading), in case-insensitive order of their names.
#pragma once

#include <string>
#include <vector>

#include "platform/Registry.h"

namespace orvanel::platform::registry {

Status ListSubkeys(const Key& key, std::vector<Text>& names);

struct NamedValue {
  Text name;  // empty for the default value, which comes first
  Type type = Type::None;
  std::string data;
};

Status ListValues(const Key& key, std::vector<NamedValue>& values);

}  // namespace orvanel::platform::registry
