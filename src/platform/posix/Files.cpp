#include "platform/Files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <cstring>

#include "platform/posix/InvokingUser.h"

namespace orvanel::platform {

std::FILE* OpenFile(const Text& path, const char* mode) {
  const std::string name = WideToUtf8(path);
  const bool mayCreate = std::strpbrk(mode, "wa") != nullptr;
  const bool existed = mayCreate && access(name.c_str(), F_OK) == 0;
  std::FILE* file = std::fopen(name.c_str(), mode);
  struct stat info {};
  if (file && fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode)) {
    // A folder is no file, as on Windows (glibc opens folders for reading).
    std::fclose(file);
    errno = EISDIR;
    return nullptr;
  }
  if (file && mayCreate && !existed) posix::HandOverToInvokingUser(fileno(file));
  return file;
}

bool ReplaceFile(const Text& source, const Text& target) {
  return std::rename(WideToUtf8(source).c_str(), WideToUtf8(target).c_str()) == 0;
}

bool RemoveFile(const Text& path) { return unlink(WideToUtf8(path).c_str()) == 0; }

}  // namespace orvanel::platform
