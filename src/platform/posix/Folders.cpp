#include "platform/posix/Folders.h"

#include <sys/stat.h>

#include <cerrno>

namespace orvanel::platform::posix {

std::string ParentFolder(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

int MakeFolders(const std::string& folder, mode_t mode,
                const std::function<void(const std::string&)>& made) {
  // A trailing separator names the same folder.
  if (folder.size() > 1 && folder.back() == '/')
    return MakeFolders(folder.substr(0, folder.size() - 1), mode, made);
  struct stat info {};
  if (stat(folder.c_str(), &info) == 0) return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
  if (errno != ENOENT) return errno;
  const std::string parent = ParentFolder(folder);
  if (parent != folder) {
    if (const int error = MakeFolders(parent, mode, made)) return error;
  }
  if (mkdir(folder.c_str(), mode) != 0) return errno == EEXIST ? 0 : errno;
  made(folder);
  return 0;
}

}  // namespace orvanel::platform::posix
