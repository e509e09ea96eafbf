// The listing operations of the registry seam over the native store.
#include "platform/Registry.h"

#include "platform/posix/RegistrySession.h"

namespace orvanel::platform::registry {

Status ListSubkeys(const Key& key, std::vector<Text>& names) {
  names.clear();
  const posix::OpenedKey* opened = posix::Opened(key);
  if (!opened) return Status::Failed;
  if (opened->access == Access::Write) return Status::AccessDenied;
  auto lock = posix::LockRegistrySession();
  if (const Status status = opened->store->KeyExists(opened->id); status != Status::Ok) return status;
  return opened->store->ListChildren(opened->id, names);
}

Status ListValues(const Key& key, std::vector<NamedValue>& values) {
  values.clear();
  const posix::OpenedKey* opened = posix::Opened(key);
  if (!opened) return Status::Failed;
  if (opened->access == Access::Write) return Status::AccessDenied;
  auto lock = posix::LockRegistrySession();
  std::vector<posix::StoredValue> stored;
  if (const Status status = opened->store->ListValues(opened->id, stored); status != Status::Ok)
    return status;
  for (auto& value : stored)
    values.push_back({std::move(value.name), static_cast<Type>(value.type), std::move(value.data)});
  return Status::Ok;
}

}  // namespace orvanel::platform::registry
