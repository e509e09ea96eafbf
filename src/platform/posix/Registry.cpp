// HKEY_CLASSES_ROOT natively: the operations of the registry seam over the SQLite
// store, with the Windows registry's answers (missing keys and values, buffers too
// small, keys with sub-keys, access that the key was not opened with).
#include "platform/Registry.h"

#include <cstring>
#include <vector>

#include "common/Utf16Le.h"
#include "platform/CodePage.h"
#include "platform/Diagnostics.h"
#include "platform/posix/RegistryNames.h"
#include "platform/posix/RegistrySession.h"

// REG_SZ data is kept as UTF-16LE, which is how char16_t text lies in memory here.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the registry expects a little-endian host");

namespace orvanel::platform::registry {
namespace {

using posix::KeyId;
using posix::OpenedKey;
using posix::RegistryStore;

bool CanRead(Access access) { return access != Access::Write; }
bool CanWrite(Access access) { return access != Access::Read; }

const OpenedKey* CheckedKey(const Key& key) {
  const OpenedKey* opened = posix::Opened(key);
  if (!opened) ReportDiagnostic("orvanel: registry: a key that is not open was used");
  return opened;
}

// Follows the path down from `from`; NotFound at the first missing component.
Status Resolve(RegistryStore& store, KeyId from, const std::vector<Text>& components, KeyId& key) {
  key = from;
  for (const Text& name : components) {
    if (const Status status = store.FindChild(key, name, key); status != Status::Ok) return status;
  }
  return Status::Ok;
}

// The answer of a query into a caller's buffer, RegQueryValueEx's way: without a
// buffer only the size; with one too small, MoreData and the size needed.
Status CopyOut(const std::string& data, uint32_t storedType, void* buffer, uint32_t& size,
               Type* type) {
  if (type) *type = static_cast<Type>(storedType);
  const uint32_t capacity = size;
  size = static_cast<uint32_t>(data.size());
  if (!buffer) return Status::Ok;
  if (capacity < data.size()) return Status::MoreData;
  if (!data.empty()) std::memcpy(buffer, data.data(), data.size());
  return Status::Ok;
}

bool IsText(uint32_t type) {
  return type == static_cast<uint32_t>(Type::Sz) || type == static_cast<uint32_t>(Type::ExpandSz) ||
         type == static_cast<uint32_t>(Type::MultiSz);
}

// Where a key below an open parent is looked for: the parent's store and id, and the
// sub-path's components.
struct Below {
  std::shared_ptr<RegistryStore> store;
  KeyId parentId = posix::kRootKey;
  std::vector<Text> components;
};

// Takes the parent's place before closing `key`, which may be `parent` itself.
Status TakeBelow(const Key& parent, const Text& subPath, Key& key, Below& below) {
  const OpenedKey* opened = CheckedKey(parent);
  if (!opened) return Status::Failed;
  below.store = opened->store;
  below.parentId = opened->id;
  key.Reset();
  if (!posix::SplitKeyPath(subPath, below.components)) return Status::InvalidName;
  return Status::Ok;
}

}  // namespace

Key::~Key() { posix::CloseKeyHandle(handle_); }

void Key::Reset(std::intptr_t handle) {
  if (handle_ == handle) return;
  posix::CloseKeyHandle(handle_);
  handle_ = handle;
}

Status CreateKey(const Text& path, Key& key) {
  key.Reset();
  std::vector<Text> components;
  if (!posix::SplitKeyPath(path, components)) return Status::InvalidName;
  auto lock = posix::LockRegistrySession();
  const auto store = posix::CurrentStore();
  if (const Status status = store->Open(true); status != Status::Ok) return status;
  if (const Status status = posix::BeginWrite(*store); status != Status::Ok) return status;
  KeyId id;
  const Status status = store->EndWrite(store->FindOrAddPath(posix::kRootKey, components, id));
  if (status == Status::Ok) key.Reset(posix::NewKeyHandle(store, id, Access::ReadWrite));
  return status;
}

Status CreateKey(const Key& parent, const Text& subPath, Key& key) {
  Below below;
  if (const Status status = TakeBelow(parent, subPath, key, below); status != Status::Ok)
    return status;
  const std::shared_ptr<RegistryStore>& store = below.store;
  const KeyId parentId = below.parentId;
  const std::vector<Text>& components = below.components;
  auto lock = posix::LockRegistrySession();
  // Creating sub-keys is checked against the store, not the parent's access.
  if (store->readOnly()) return Status::AccessDenied;
  if (const Status status = posix::BeginWrite(*store); status != Status::Ok) return status;
  // Another process may have deleted the parent since it was opened.
  Status status = store->KeyExists(parentId);
  KeyId id;
  if (status == Status::Ok) status = store->FindOrAddPath(parentId, components, id);
  status = store->EndWrite(status);
  if (status == Status::Ok) key.Reset(posix::NewKeyHandle(store, id, Access::ReadWrite));
  return status;
}

Status OpenKey(const Text& path, Access access, Key& key) {
  key.Reset();
  std::vector<Text> components;
  if (!posix::SplitKeyPath(path, components)) return Status::InvalidName;
  auto lock = posix::LockRegistrySession();
  const auto store = posix::CurrentStore();
  if (const Status status = store->Open(false); status != Status::Ok) return status;
  posix::JoinWriteGroupForReading(*store);
  KeyId id;
  if (const Status status = Resolve(*store, posix::kRootKey, components, id); status != Status::Ok)
    return status;
  // Like a key whose access list lets this user read but not write.
  if (CanWrite(access) && store->readOnly()) return Status::AccessDenied;
  key.Reset(posix::NewKeyHandle(store, id, access));
  return Status::Ok;
}

Status OpenKey(const Key& parent, const Text& subPath, Access access, Key& key) {
  Below below;
  if (const Status status = TakeBelow(parent, subPath, key, below); status != Status::Ok)
    return status;
  const std::shared_ptr<RegistryStore>& store = below.store;
  const KeyId parentId = below.parentId;
  const std::vector<Text>& components = below.components;
  auto lock = posix::LockRegistrySession();
  posix::JoinWriteGroupForReading(*store);
  // A deleted key has no sub-keys left, so only the key itself needs checking.
  KeyId id;
  Status status = Resolve(*store, parentId, components, id);
  if (status == Status::Ok && components.empty()) status = store->KeyExists(parentId);
  if (status != Status::Ok) return status;
  if (CanWrite(access) && store->readOnly()) return Status::AccessDenied;
  key.Reset(posix::NewKeyHandle(store, id, access));
  return Status::Ok;
}

// A value's type and bytes as stored, for the wide and the narrow read alike.
static Status ReadStoredValue(const Key& key, const Text& name, uint32_t& storedType,
                              std::string& data) {
  const OpenedKey* opened = CheckedKey(key);
  if (!opened) return Status::Failed;
  if (!CanRead(opened->access)) return Status::AccessDenied;
  auto lock = posix::LockRegistrySession();
  posix::JoinWriteGroupForReading(*opened->store);
  return opened->store->ReadValue(opened->id, name, storedType, data);
}

Status QueryValue(const Key& key, const Text& name, void* buffer, uint32_t& size, Type* type) {
  uint32_t storedType = 0;
  std::string data;
  if (const Status status = ReadStoredValue(key, name, storedType, data); status != Status::Ok)
    return status;
  return CopyOut(data, storedType, buffer, size, type);
}

Status QueryValueNarrow(const Key& key, const std::string& name, void* buffer, uint32_t& size,
                        Type* type) {
  uint32_t storedType = 0;
  std::string data;
  if (const Status status = ReadStoredValue(key, Utf8ToWide(name), storedType, data);
      status != Status::Ok)
    return status;
  // Text types come back in the narrow charset, nulls included; others as stored.
  if (IsText(storedType)) data = WideToAnsi(FromUtf16Le(data));
  return CopyOut(data, storedType, buffer, size, type);
}

Status SetValue(const Key& key, const Text& name, Type type, const void* data, uint32_t size) {
  const OpenedKey* opened = CheckedKey(key);
  if (!opened) return Status::Failed;
  if (!CanWrite(opened->access)) return Status::AccessDenied;
  if (!data && size != 0) return Status::Failed;
  auto lock = posix::LockRegistrySession();
  RegistryStore& store = *opened->store;
  if (store.readOnly()) return Status::AccessDenied;
  if (const Status status = posix::BeginWrite(store); status != Status::Ok) return status;
  return store.EndWrite(store.WriteValue(opened->id, name, static_cast<uint32_t>(type), data, size));
}

Status SetTextValue(const Key& key, const Text& name, const Text& text) {
  return SetValue(key, name, Type::Sz, text.c_str(),
                  static_cast<uint32_t>((text.size() + 1) * sizeof(char16_t)));
}

Status DeleteKey(const Text& path) {
  std::vector<Text> components;
  if (!posix::SplitKeyPath(path, components) || components.empty()) return Status::InvalidName;
  auto lock = posix::LockRegistrySession();
  const auto store = posix::CurrentStore();
  if (const Status status = store->Open(false); status != Status::Ok) return status;
  KeyId id;
  if (store->readOnly()) {
    const Status status = Resolve(*store, posix::kRootKey, components, id);
    return status == Status::Ok ? Status::AccessDenied : status;
  }
  if (const Status status = posix::BeginWrite(*store); status != Status::Ok) return status;
  Status status = Resolve(*store, posix::kRootKey, components, id);
  bool hasChildren = false;
  if (status == Status::Ok) status = store->HasChildren(id, hasChildren);
  if (status == Status::Ok) status = hasChildren ? Status::HasSubkeys : store->RemoveKey(id);
  return store->EndWrite(status);
}

Status DeleteValue(const Key& key, const Text& name) {
  const OpenedKey* opened = CheckedKey(key);
  if (!opened) return Status::Failed;
  if (!CanWrite(opened->access)) return Status::AccessDenied;
  auto lock = posix::LockRegistrySession();
  RegistryStore& store = *opened->store;
  if (store.readOnly()) return Status::AccessDenied;
  if (const Status status = posix::BeginWrite(store); status != Status::Ok) return status;
  return store.EndWrite(store.RemoveValue(opened->id, name));
}

WriteGroup::WriteGroup() { posix::EnterWriteGroup(); }

WriteGroup::~WriteGroup() { Close(); }

Status WriteGroup::Close() {
  if (!open_) return Status::Ok;
  open_ = false;
  return posix::LeaveWriteGroup();
}

}  // namespace orvanel::platform::registry
