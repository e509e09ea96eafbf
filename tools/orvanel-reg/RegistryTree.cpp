#include "RegistryTree.h"

#include "KeyName.h"

namespace orvanel::reg {

namespace registry = platform::registry;
using registry::Status;

Status ReadTree(const Text& path, std::vector<RegKey>& keys) {
  registry::Key key;
  if (const Status status = registry::OpenKey(path, registry::Access::Read, key); status != Status::Ok)
    return status;
  RegKey entry{path, {}};
  if (const Status status = registry::ListValues(key, entry.values); status != Status::Ok) return status;
  keys.push_back(std::move(entry));
  std::vector<Text> children;
  if (const Status status = registry::ListSubkeys(key, children); status != Status::Ok) return status;
  for (const Text& child : children) {
    // A key that another process deleted meanwhile is simply not there.
    const Status status = ReadTree(ChildPath(path, child), keys);
    if (status != Status::Ok && status != Status::NotFound) return status;
  }
  return Status::Ok;
}

Status DeleteTree(const Text& path) {
  std::vector<Text> children;
  {
    registry::Key key;
    if (const Status status = registry::OpenKey(path, registry::Access::Read, key); status != Status::Ok)
      return status;
    if (const Status status = registry::ListSubkeys(key, children); status != Status::Ok) return status;
  }
  for (const Text& child : children) {
    const Status status = DeleteTree(ChildPath(path, child));
    if (status != Status::Ok && status != Status::NotFound) return status;
  }
  return registry::DeleteKey(path);
}

}  // namespace orvanel::reg
