// Files by wide path: the C runtime's wide fopen, and the kernel's file calls.
#include "platform/Files.h"

#include <cstdio>
#include <string>

#include "platform/win32/WideText.h"

// windows.h maps ReplaceFile to the system's ReplaceFileW; ours is the seam's.
#undef ReplaceFile

namespace orvanel::platform {

std::FILE* OpenFile(const Text& path, const char* mode) {
  // The mode is ASCII ("rb", "wb", "ab", ...); widened as it is.
  const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
  return _wfopen(win32::Wide(path), wideMode.c_str());
}

bool ReplaceFile(const Text& source, const Text& target) {
  // One rename that replaces the target: afterwards either file is there, never neither.
  return MoveFileExW(win32::Wide(source), win32::Wide(target), MOVEFILE_REPLACE_EXISTING) != 0;
}

bool RemoveFile(const Text& path) { return DeleteFileW(win32::Wide(path)) != 0; }

}  // namespace orvanel::platform
