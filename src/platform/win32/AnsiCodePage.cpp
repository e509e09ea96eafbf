// The narrow charset on Windows is the system's ANSI code page.
#include <windows.h>

#include <climits>

#include "platform/CodePage.h"

namespace orvanel::platform {

std::string WideToAnsi(const Text& text) {
  if (text.empty() || text.size() > INT_MAX) return std::string();
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  // The first call asks for the size, the second fills a buffer of that size.
  const int needed = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return std::string();
  std::string bytes(static_cast<size_t>(needed), '\0');
  const int written =
      WideCharToMultiByte(CP_ACP, 0, wide, length, bytes.data(), needed, nullptr, nullptr);
  bytes.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return bytes;
}

}  // namespace orvanel::platform
