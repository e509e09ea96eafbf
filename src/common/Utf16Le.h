// UTF-16LE bytes: how text lies in registry data (REG_SZ and its kin) and in the
// .reg files that Windows writes. Code units are copied as they are, unpaired
// surrogates and nulls included.
#pragma once

#include <string>

#include "common/Text.h"

namespace orvanel {

std::string ToUtf16Le(const Text& text);

// Appends the text's bytes to `bytes`.
void AppendUtf16Le(std::string& bytes, const Text& text);

// An odd last byte, which no code unit can hold, is dropped.
Text FromUtf16Le(const std::string& bytes);
Text FromUtf16Le(const void* data, size_t size);

}  // namespace orvanel
