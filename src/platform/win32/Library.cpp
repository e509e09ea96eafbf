// Run-time libraries on Windows: LoadLibraryA searches the application's folder
// first, then the system's places.
#include "platform/Library.h"

#include <windows.h>

namespace orvanel::platform {

LibraryHandle LoadLibraryByName(const char* fileName) {
  if (!fileName || !*fileName) return nullptr;
  return reinterpret_cast<LibraryHandle>(LoadLibraryA(fileName));
}

void* FindEntryPoint(LibraryHandle library, const char* name) {
  if (!library || !name) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

}  // namespace orvanel::platform
