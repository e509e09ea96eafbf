// HKEY_CLASSES_ROOT through the registry's own functions. Key paths go to the
// system as they are; the system's answers become the seam's statuses.
#include "platform/Registry.h"

#include <algorithm>
#include <cwctype>

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
  // A key opened to be read and written may also get a sub-key created below it
  // (CreateKey with a parent), which the system allows only with KEY_CREATE_SUB_KEY.
  return KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;
}

// The value name as the system wants it: null for the default value.
const wchar_t* ValueName(const Text& name) { return name.empty() ? nullptr : Wide(name); }

// Takes the handle that the call just returned into the key. The handle is read
// after the call: it is passed by reference, not evaluated beside the call.
Status Adopt(LONG error, const HKEY& handle, Key& key) {
  const Status status = FromError(error);
  if (status == Status::Ok) key.Reset(reinterpret_cast<std::intptr_t>(handle));
  return status;
}

// Names ordered as the registry compares them: code unit by code unit, letters
// without regard to case.
bool CaseInsensitiveLess(const Text& a, const Text& b) {
  return std::lexicographical_compare(
      a.begin(), a.end(), b.begin(), b.end(),
      [](char16_t x, char16_t y) { return std::towupper(x) < std::towupper(y); });
}

// The longest sub-key name, value name and value data of the key, in characters
// (names) and bytes (data), without terminating nulls.
Status KeyLimits(const Key& key, DWORD& subkeyName, DWORD& valueName, DWORD& valueData) {
  return FromError(RegQueryInfoKeyW(Handle(key), nullptr, nullptr, nullptr, nullptr, &subkeyName,
                                    nullptr, nullptr, &valueName, &valueData, nullptr, nullptr));
}

bool HasSubkeys(const Text& path) {
  HKEY handle = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, Wide(path), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
    return false;
  DWORD subkeys = 0;
  const LONG error = RegQueryInfoKeyW(handle, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                                      nullptr, nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(handle);
  return error == ERROR_SUCCESS && subkeys > 0;
}

}  // namespace

Key::~Key() {
  if (handle_ != 0) RegCloseKey(reinterpret_cast<HKEY>(handle_));
}

void Key::Reset(std::intptr_t handle) {
  if (handle_ == handle) return;
  if (handle_ != 0) RegCloseKey(reinterpret_cast<HKEY>(handle_));
  handle_ = handle;
}

Status CreateKey(const Text& path, Key& key) {
  key.Reset();
  HKEY handle = nullptr;
  return Adopt(RegCreateKeyW(HKEY_CLASSES_ROOT, Wide(path), &handle), handle, key);
}

Status CreateKey(const Key& parent, const Text& subPath, Key& key) {
  key.Reset();
  HKEY handle = nullptr;
  return Adopt(RegCreateKeyW(Handle(parent), Wide(subPath), &handle), handle, key);
}

Status OpenKey(const Text& path, Access access, Key& key) {
  key.Reset();
  HKEY handle = nullptr;
  return Adopt(RegOpenKeyExW(HKEY_CLASSES_ROOT, Wide(path), 0, AccessMask(access), &handle), handle,
               key);
}

Status OpenKey(const Key& parent, const Text& subPath, Access access, Key& key) {
  key.Reset();
  HKEY handle = nullptr;
  return Adopt(RegOpenKeyExW(Handle(parent), Wide(subPath), 0, AccessMask(access), &handle), handle,
               key);
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
  if (name.empty()) return FromError(RegSetValueW(Handle(key), nullptr, REG_SZ, Wide(text), bytes));
  return SetValue(key, name, Type::Sz, text.c_str(), bytes);
}

Status DeleteKey(const Text& path) {
  if (path.empty()) return Status::InvalidName;
  const LONG error = RegDeleteKeyW(HKEY_CLASSES_ROOT, Wide(path));
  // The system refuses a key that still has sub-keys as access denied; only a look
  // at the key tells that ordinary refusal from a registry that may not be written.
  if (error == ERROR_ACCESS_DENIED && HasSubkeys(path)) return Status::HasSubkeys;
  return FromError(error);
}

Status DeleteValue(const Key& key, const Text& name) {
  return FromError(RegDeleteValueW(Handle(key), ValueName(name)));
}

Status ListSubkeys(const Key& key, std::vector<Text>& names) {
  names.clear();
  DWORD longestName = 0, longestValueName = 0, longestData = 0;
  if (const Status status = KeyLimits(key, longestName, longestValueName, longestData);
      status != Status::Ok)
    return status;
  std::vector<wchar_t> name(longestName + 1);
  for (DWORD index = 0;; ++index) {
    DWORD length = static_cast<DWORD>(name.size());
    const LONG error =
        RegEnumKeyExW(Handle(key), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (error == ERROR_NO_MORE_ITEMS) break;
    if (error != ERROR_SUCCESS) return FromError(error);
    names.push_back(win32::FromWide(name.data(), length));
  }
  std::sort(names.begin(), names.end(), CaseInsensitiveLess);
  return Status::Ok;
}

Status ListValues(const Key& key, std::vector<NamedValue>& values) {
  values.clear();
  DWORD longestSubkey = 0, longestName = 0, longestData = 0;
  if (const Status status = KeyLimits(key, longestSubkey, longestName, longestData);
      status != Status::Ok)
    return status;
  std::vector<wchar_t> name(longestName + 1);
  std::string data(longestData, '\0');
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD dataLength = static_cast<DWORD>(data.size());
    DWORD type = REG_NONE;
    const LONG error = RegEnumValueW(Handle(key), index, name.data(), &nameLength, nullptr, &type,
                                     reinterpret_cast<BYTE*>(data.data()), &dataLength);
    if (error == ERROR_NO_MORE_ITEMS) break;
    if (error != ERROR_SUCCESS) return FromError(error);
    values.push_back(NamedValue{win32::FromWide(name.data(), nameLength), static_cast<Type>(type),
                                data.substr(0, dataLength)});
  }
  std::sort(values.begin(), values.end(), [](const NamedValue& a, const NamedValue& b) {
    return CaseInsensitiveLess(a.name, b.name);
  });
  return Status::Ok;
}

// Every registry call is its own unit on Windows, saved by the system: nothing to
// group, nothing left to save at the end.
WriteGroup::WriteGroup() = default;

WriteGroup::~WriteGroup() = default;

Status WriteGroup::Close() {
  open_ = false;
  return Status::Ok;
}

}  // namespace orvanel::platform::registry
