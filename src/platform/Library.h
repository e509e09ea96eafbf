// Libraries loaded at run time by file name (LoadLibraryA / dlopen).
#pragma once

namespace orvanel::platform {

using LibraryHandle = void*;

// Loads the library by its bare file name: the program's own folder is searched
// first, then the system's default places. Null when it cannot be loaded. Never unloaded.
LibraryHandle LoadLibraryByName(const char* fileName);

// The exported entry point of that name, or null.
void* FindEntryPoint(LibraryHandle library, const char* name);

}  // namespace orvanel::platform
