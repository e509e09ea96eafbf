// Run-time libraries natively: dlopen and dlsym. Like Windows, which searches the
// application's folder before the system's places, a library lying next to the
// program wins over one found through the loader's default search.
#include "platform/Library.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace orvanel::platform {
namespace {

// The folder of the running executable with a trailing '/', as bytes (no
// conversion, so any file name the system allows works); empty when unknown.
std::string ProgramFolder() {
  std::string path(4096, '\0');
  const ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
  if (n <= 0 || static_cast<size_t>(n) >= path.size()) return std::string();
  path.resize(static_cast<size_t>(n));
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

LibraryHandle LoadLibraryByName(const char* fileName) {
  if (!fileName || !*fileName) return nullptr;
  // Resolve every symbol now, as Windows binds a library's imports when it loads it.
  constexpr int kMode = RTLD_NOW | RTLD_LOCAL;
  const std::string folder = ProgramFolder();
  if (!folder.empty()) {
    const std::string besideProgram = folder + fileName;
    // A file found here is the one Windows would take, even when it cannot be loaded.
    if (IsRegularFile(besideProgram)) return dlopen(besideProgram.c_str(), kMode);
  }
  // A bare name (no '/') makes dlopen use the system's default search.
  return dlopen(fileName, kMode);
}

void* FindEntryPoint(LibraryHandle library, const char* name) {
  if (!library || !name) return nullptr;
  return dlsym(library, name);
}

}  // namespace orvanel::platform
