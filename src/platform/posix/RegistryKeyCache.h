// Key lookups remembered while this process holds the store's write lock: no
// other process can change the tree then, so a bulk of writes (creating a key,
// then its sub-key) need not look the same keys up again. Forgotten whenever the
// lock is released and whenever this process deletes a key. The key created last
// is known to have no sub-keys until this process adds one, so looking one up
// under it needs no query (registering an extension creates its key, then a sub-key).
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace orvanel::platform::posix {

class KeyLookupCache {
 public:
  using KeyId = std::int64_t;
  static constexpr KeyId kAbsent = -1;  // remembered as missing

  bool Find(KeyId parent, const std::string& fold, KeyId& child) const {
    if (parent == childless_) {
      child = kAbsent;
      return true;
    }
    const Entry& entry = entries_[Slot(parent, fold)];
    if (!entry.used || entry.parent != parent || entry.fold != fold) return false;
    child = entry.child;
    return true;
  }

  void Remember(KeyId parent, const std::string& fold, KeyId child) {
    Entry& entry = entries_[Slot(parent, fold)];
    entry = Entry{true, parent, fold, child};
    if (child != kAbsent) lastFound_ = child;
  }

  // A key this process has just added: it has no sub-keys yet.
  void RememberAdded(KeyId parent, const std::string& fold, KeyId child) {
    Remember(parent, fold, child);
    childless_ = child;
  }

  // The key most recently found or created still exists: values may be written
  // into it without checking.
  bool IsKnownToExist(KeyId key) const { return key == lastFound_; }

  void Clear() {
    for (Entry& entry : entries_) entry.used = false;
    lastFound_ = kAbsent;
    childless_ = kAbsent;
  }

 private:
  struct Entry {
    bool used = false;
    KeyId parent = 0;
    std::string fold;
    KeyId child = kAbsent;
  };

  static size_t Slot(KeyId parent, const std::string& fold) {
    return (std::hash<std::string>()(fold) ^ static_cast<size_t>(parent) * 0x9E3779B97F4A7C15ull) %
           kSlots;
  }

  static constexpr size_t kSlots = 256;
  std::array<Entry, kSlots> entries_;
  KeyId lastFound_ = kAbsent;
  KeyId childless_ = kAbsent;
};

}  // namespace orvanel::platform::posix
