// Text is UTF-16, as wchar_t is on Windows: the backend hands it to the wide
// functions of the system without conversion.
#pragma once

#include <windows.h>

#include "common/Text.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide text is UTF-16");

namespace orvanel::platform::win32 {

inline const wchar_t* Wide(const Text& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

inline Text FromWide(const wchar_t* text) {
  return text ? Text(reinterpret_cast<const char16_t*>(text)) : Text();
}

inline Text FromWide(const wchar_t* text, size_t length) {
  return Text(reinterpret_cast<const char16_t*>(text), length);
}

}  // namespace orvanel::platform::win32
