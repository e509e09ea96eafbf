#include "platform/posix/RegistrySession.h"

#include <pthread.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace orvanel::platform::posix {
namespace {

constexpr const char* kDefaultStorePath = "/var/lib/orvanel/registry.db";

struct Session {
  std::mutex mutex;
  std::shared_ptr<RegistryStore> current;
  int groupDepth = 0;
  std::vector<std::shared_ptr<RegistryStore>> grouped;  // stores with an open group transaction
};

Session& TheSession();

// A forked child must not use its parent's connections (SQLite's locks belong to
// the process): they are left alone, never closed in the child, which opens its
// own. Nor is the parent's write group the child's.
void ForgetParentsStores() {
  Session& session = TheSession();
  if (session.current) new std::shared_ptr<RegistryStore>(std::move(session.current));
  if (!session.grouped.empty())
    new std::vector<std::shared_ptr<RegistryStore>>(std::move(session.grouped));
  session.current.reset();
  session.grouped.clear();
  session.groupDepth = 0;
}

// Never destroyed: a Key may be closed during the process's static destruction.
Session& TheSession() {
  static Session* session = [] {
    pthread_atfork(nullptr, nullptr, ForgetParentsStores);
    return new Session;
  }();
  return *session;
}

const char* StorePath() {
  const char* path = std::getenv("ORVANEL_REGISTRY");
  return path && *path ? path : kDefaultStorePath;
}

}  // namespace

std::unique_lock<std::mutex> LockRegistrySession() {
  return std::unique_lock<std::mutex>(TheSession().mutex);
}

std::shared_ptr<RegistryStore> CurrentStore() {
  Session& session = TheSession();
  const char* path = StorePath();
  if (!session.current || session.current->path() != path)
    session.current = std::make_shared<RegistryStore>(path);
  return session.current;
}

const OpenedKey* Opened(const registry::Key& key) {
  return reinterpret_cast<const OpenedKey*>(key.handle());
}

std::intptr_t NewKeyHandle(std::shared_ptr<RegistryStore> store, KeyId id, registry::Access access) {
  return reinterpret_cast<std::intptr_t>(new OpenedKey{std::move(store), id, access});
}

void CloseKeyHandle(std::intptr_t handle) {
  if (!handle) return;
  auto lock = LockRegistrySession();
  delete reinterpret_cast<OpenedKey*>(handle);
}

registry::Status BeginWrite(RegistryStore& store) {
  Session& session = TheSession();
  bool startedGroup = false;
  const registry::Status status = store.BeginWrite(session.groupDepth > 0, startedGroup);
  if (startedGroup) {
    for (const auto& grouped : session.grouped) {
      if (grouped.get() == &store) return status;
    }
    session.grouped.push_back(store.shared_from_this());
  }
  return status;
}

void JoinWriteGroupForReading(RegistryStore& store) {
  if (TheSession().groupDepth > 0 && !store.readOnly()) BeginWrite(store);  // else reads alone
}

void EnterWriteGroup() {
  auto lock = LockRegistrySession();
  ++TheSession().groupDepth;
}

registry::Status LeaveWriteGroup() {
  auto lock = LockRegistrySession();
  Session& session = TheSession();
  if (session.groupDepth == 0 || --session.groupDepth > 0) return registry::Status::Ok;
  registry::Status result = registry::Status::Ok;
  for (const auto& store : session.grouped) {
    const registry::Status saved = store->CommitGroup();
    if (result == registry::Status::Ok) result = saved;
  }
  session.grouped.clear();
  return result;
}

}  // namespace orvanel::platform::posix
