// The process's side of the native registry: which store file is in use (it
// follows $ORVANEL_REGISTRY), the open keys, and the write group. Every call
// holds the session lock while it works.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/Registry.h"
#include "platform/posix/RegistryStore.h"

namespace orvanel::platform::posix {

// What a Key handle stands for: a key of one store, opened with some access.
struct OpenedKey {
  std::shared_ptr<RegistryStore> store;
  KeyId id = kRootKey;
  registry::Access access = registry::Access::Read;
};

std::unique_lock<std::mutex> LockRegistrySession();

// The store named by $ORVANEL_REGISTRY (default /var/lib/orvanel/registry.db),
// not necessarily open yet.
std::shared_ptr<RegistryStore> CurrentStore();

// Null when the key is not open.
const OpenedKey* Opened(const registry::Key& key);
std::intptr_t NewKeyHandle(std::shared_ptr<RegistryStore> store, KeyId id, registry::Access access);
void CloseKeyHandle(std::intptr_t handle);

// Starts a write on the store: in its own transaction, or in the write group's
// when one is alive.
registry::Status BeginWrite(RegistryStore& store);

// Inside a write group, reads of a store this process may write join the group's
// transaction (taking the write lock up front, as writes do), so that the reads
// between grouped writes need no locking of their own.
void JoinWriteGroupForReading(RegistryStore& store);

void EnterWriteGroup();
// Ok, or Failed when the outermost group's writes could not all be saved.
registry::Status LeaveWriteGroup();

}  // namespace orvanel::platform::posix
