// HKEY_CLASSES_ROOT through the registry's own functions. Key paths go to the
// system as they are; the system's answers become the seam's statuses.
#include "platform/Registry.h"

#include "platform/win32/WideText.h"

namespace orvanel::platform::registry {
namespace {

using win32::Wide;

HKEY Handle(const Key& key) { return reinterpret_cast<HKEY>(key.handle()); }

Status FromError(LONG error) {
  switch (error) {
    case ERROR_SUCCESS:
      return Status::Ok;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return Status::NotFound;
    case ERROR_MORE_DATA:
      return Status::MoreData;
    case ERROR_ACCESS_DENIED:
      return Status::AccessDenied;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
      return Status::InvalidName;
    default:
      return Status::Failed;
  }
}

REGSAM AccessMask(Access access) {
  switch (access) {
    case Access::Read:
      return KEY_READ;
    case Access::Write:
      return KEY_WRITE;
    case Access::ReadWrite:
      break;
  }
  return KEY_QUERY_VALUE | KEY_SET_VALUE;
}

// The value name as the system wants it: null for the default value.
const wchar_t* ValueName(const Text& name) { return name.empty() ? nullptr : Wide(name); }

}  // namespace

Key::~Key() {
  if (handle_ != 0) RegCloseKey(reinterpret_cast<HKEY>(handle_));
}

Key& Key::operator=(Key&& other) noexcept {
  if (this != &other) {
    Reset(other.handle_);
    other.handle_ = 0;
  }
  return *this;
}

void Key::Reset(std::intptr_t handle) {
  if (handle_ == handle) return;
  if (handle_ != 0) RegCloseKey(reinterpret_cast<HKEY>(handle_));
  handle_ = handle;
}

Status CreateKey(const Text& path, Key& key) {
  key.Reset();
  HKEY handle = nullptr;
  const Status status = FromError(RegCreateKeyW(HKEY_CLASSES_ROOT, Wide(path), &handle));
  if (status == Status::Ok) key.Reset(reinterpret_cast<std::intptr_t>(handle));
  return status;
}

Status OpenKey(const Text& path, Access access, Key& key) {
  key.Reset();
  HKEY handle = nullptr;
  const Status status =
      FromError(RegOpenKeyExW(HKEY_CLASSES_ROOT, Wide(path), 0, AccessMask(access), &handle));
  if (status == Status::Ok) key.Reset(reinterpret_cast<std::intptr_t>(handle));
  return status;
}

Status QueryValue(const Key& key, const Text& name, void* buffer, uint32_t& size, Type* type) {
  DWORD storedType = REG_NONE;
  DWORD length = size;
  const LONG error = RegQueryValueExW(Handle(key), ValueName(name), nullptr, &storedType,
                                      static_cast<BYTE*>(buffer), &length);
  size = length;
  if (type) *type = static_cast<Type>(storedType);
  return FromError(error);
}

Status QueryValueNarrow(const Key& key, const std::string& name, void* buffer, uint32_t& size,
                        Type* type) {
  DWORD storedType = REG_NONE;
  DWORD length = size;
  const LONG error = RegQueryValueExA(Handle(key), name.empty() ? nullptr : name.c_str(), nullptr,
                                      &storedType, static_cast<BYTE*>(buffer), &length);
  size = length;
  if (type) *type = static_cast<Type>(storedType);
  return FromError(error);
}

Status SetValue(const Key& key, const Text& name, Type type, const void* data, uint32_t size) {
  if (!data && size != 0) return Status::Failed;
  return FromError(RegSetValueExW(Handle(key), ValueName(name), 0, static_cast<DWORD>(type),
                                  static_cast<const BYTE*>(data), size));
}

Status SetTextValue(const Key& key, const Text& name, const Text& text) {
  const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(char16_t));
  // The default value is a key's text; RegSetValueW writes it without naming a value.
  if (name.empty())
    return FromError(RegSetValueW(Handle(key), nullptr, REG_SZ, Wide(text), bytes));
  return SetValue(key, name, Type::Sz, text.c_str(), bytes);
}

Status DeleteKey(const Text& path) {
  if (path.empty()) return Status::InvalidName;
  // A key that still has sub-keys is refused (as access denied).
  return FromError(RegDeleteKeyW(HKEY_CLASSES_ROOT, Wide(path)));
}

Status DeleteValue(const Key& key, const Text& name) {
  return FromError(RegDeleteValueW(Handle(key), ValueName(name)));
}

// Every registry call is its own unit on Windows; nothing to group.
WriteGroup::WriteGroup() = default;

WriteGroup::~WriteGroup() = default;

}  // namespace orvanel::platform::registry
