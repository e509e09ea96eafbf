// Value types and data as orvanel-reg shows them (query) and takes them (add /t /d),
// in reg.exe's words: REG_SZ, REG_DWORD, ...
#pragma once

#include <string>

#include "platform/Registry.h"

namespace orvanel::reg {

std::string TypeName(platform::registry::Type type);
bool ParseTypeName(const Text& name, platform::registry::Type& type);

// The data as query prints it: text up to its null, numbers in hex, lists joined
// by \0, anything else as hex digits.
std::string ShowData(platform::registry::Type type, const std::string& data);

// The bytes that `add` stores for /d DATA of the given type; false (with the
// reason) when DATA does not fit the type.
bool DataFromArgument(platform::registry::Type type, const Text& argument, std::string& data,
                      std::string& error);

}  // namespace orvanel::reg
