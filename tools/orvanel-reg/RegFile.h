// The .reg text format ("Windows Registry Editor Version 5.00"), as regedit and
// reg.exe write it: one block per key, "[HKEY_CLASSES_ROOT\path]", then the default
// value as @=, then named values; strings quoted, REG_DWORD as dword:, the rest as
// hex lists; a blank line after each block.
#pragma once

#include <string>
#include <vector>

#include "platform/Registry.h"

namespace orvanel::reg {

struct RegKey {
  Text path;  // below HKEY_CLASSES_ROOT; empty for the root itself
  std::vector<platform::registry::NamedValue> values;
};

// UTF-8 text with LF line ends.
std::string FormatRegFile(const std::vector<RegKey>& keys);

// Reads what FormatRegFile writes, with LF or CR LF line ends, a UTF-8 byte order
// mark or UTF-16LE text (as Windows writes it). On failure `error` says where and why.
bool ParseRegFile(const std::string& bytes, std::vector<RegKey>& keys, std::string& error);

}  // namespace orvanel::reg
