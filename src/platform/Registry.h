// The machine-wide registry tree that Orvanel writes its associations into
// (HKEY_CLASSES_ROOT on Windows, an embedded store natively). Key paths are
// relative to that root, their components joined by '\'. Key and value names
// compare case-insensitively; an empty value name means the key's default value.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/Text.h"

namespace orvanel::platform::registry {

enum class Type : uint32_t {
  None = 0,
  Sz = 1,
  ExpandSz = 2,
  Binary = 3,
  Dword = 4,
  DwordBigEndian = 5,
  Link = 6,
  MultiSz = 7,
  Qword = 11,
};

enum class Status {
  Ok,
  NotFound,      // no such key or value
  MoreData,      // the value is larger than the buffer; the size says how large
  AccessDenied,  // the store may not be written by this user
  InvalidName,   // a key name component is empty or longer than 255 characters
  HasSubkeys,    // a key with sub-keys cannot be deleted
  Failed,        // the store could not be read or written (why goes to platform::ReportDiagnostic)
};

enum class Access {
  Read,       // KEY_READ
  Write,      // KEY_WRITE
  ReadWrite,  // KEY_QUERY_VALUE | KEY_SET_VALUE
};

// An open key; closed when destroyed. Its handle belongs to the backend.
class Key {
 public:
  Key() = default;
  ~Key();
  Key(Key&& other) noexcept : handle_(other.handle_) { other.handle_ = 0; }
  Key& operator=(Key&& other) noexcept {
    if (this != &other) {
      Reset(other.handle_);  // closes what this key held
      other.handle_ = 0;
    }
    return *this;
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;

  bool IsOpen() const { return handle_ != 0; }
  std::intptr_t handle() const { return handle_; }
  void Reset(std::intptr_t handle = 0);

 private:
  std::intptr_t handle_ = 0;
};

// Opens the key, creating it and any missing parents first (RegCreateKeyW).
Status CreateKey(const Text& path, Key& key);

// The same below an open key, whatever access it was opened with: `subPath` is
// relative to `parent` (RegCreateKeyW with a key handle). Saves looking the parent
// up again when writing a key and then its sub-key.
Status CreateKey(const Key& parent, const Text& subPath, Key& key);

// Opens an existing key (RegOpenKeyExW); never creates it.
Status OpenKey(const Text& path, Access access, Key& key);

// The same below an open key, whatever access it was opened with.
Status OpenKey(const Key& parent, const Text& subPath, Access access, Key& key);

// Reads a value into buffer, whose capacity in bytes is `size` on entry; on return
// `size` holds the value's length in bytes (also when MoreData). `type` may be null.
Status QueryValue(const Key& key, const Text& name, void* buffer, uint32_t& size, Type* type);

// The narrow (ANSI) read of a value: text values are converted to the narrow charset,
// with their terminating null; other types are returned as they are stored.
Status QueryValueNarrow(const Key& key, const std::string& name, void* buffer, uint32_t& size,
                        Type* type);

Status SetValue(const Key& key, const Text& name, Type type, const void* data, uint32_t size);

// Deletes one key with its values; refused (HasSubkeys) while it has sub-keys.
Status DeleteKey(const Text& path);

Status DeleteValue(const Key& key, const Text& name);

// Sets a REG_SZ value: the UTF-16 text with its terminating null.
Status SetTextValue(const Key& key, const Text& name, const Text& text);

// The names of a key's sub-keys (RegEnumKeyExW), in case-insensitive order. The key
// must be open for reading.
Status ListSubkeys(const Key& key, std::vector<Text>& names);

struct NamedValue {
  Text name;  // empty for the default value, which comes first
  Type type = Type::None;
  std::string data;
};

// A key's values with their types and data (RegEnumValueW), in case-insensitive
// order of their names. The key must be open for reading.
Status ListValues(const Key& key, std::vector<NamedValue>& values);

// Groups the registry writes made during its lifetime into one unit, written to
// disk once (a bulk of registrations must not cost a disk sync each). Groups nest.
// Where the registry needs no grouping, it has no effect.
class WriteGroup {
 public:
  WriteGroup();
  ~WriteGroup();  // closes the group when Close was not called
  WriteGroup(const WriteGroup&) = delete;
  WriteGroup& operator=(const WriteGroup&) = delete;

  // Ends the group now. The outermost group saves its writes and says whether they
  // were all saved (Ok) or are lost (Failed; the backend says why); an inner group,
  // and a registry without grouping, answer Ok. Later calls answer Ok.
  Status Close();

 private:
  bool open_ = true;
};

}  // namespace orvanel::platform::registry
