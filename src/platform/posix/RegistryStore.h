// One connection to the native registry store: an SQLite file holding a tree of
// keys (the root has id 0) and their typed values. Readers never create the file
// and open it read-only when they may not write it; writers take the write lock
// up front (no read-to-write upgrades) and wait for each other instead of failing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/Text.h"
#include "platform/Registry.h"
#include "platform/posix/RegistryKeyCache.h"

struct sqlite3;
struct sqlite3_stmt;

namespace orvanel::platform::posix {

using KeyId = std::int64_t;
constexpr KeyId kRootKey = 0;

struct StoredValue {
  Text name;
  std::uint32_t type = 0;
  std::string data;
};

class RegistryStore : public std::enable_shared_from_this<RegistryStore> {
 public:
  using Status = registry::Status;

  explicit RegistryStore(std::string path);
  ~RegistryStore();
  RegistryStore(const RegistryStore&) = delete;
  RegistryStore& operator=(const RegistryStore&) = delete;

  const std::string& path() const { return path_; }

  // Opens the connection if it is not open yet. For reading, a missing file is
  // NotFound and nothing is created; for writing, the file and its folder are
  // created as needed, and a store this user may not write is AccessDenied.
  Status Open(bool forWrite);
  bool readOnly() const { return readOnly_; }

  // A write runs between BeginWrite and EndWrite, in a transaction of its own or,
  // when `grouped`, in the group's transaction, which stays open until CommitGroup.
  // `startedGroup` tells whether this call opened the group's transaction.
  Status BeginWrite(bool grouped, bool& startedGroup);
  Status EndWrite(Status result);
  // Ok, or Failed (said once through the diagnostics) when the group's writes are lost.
  registry::Status CommitGroup();

  Status FindChild(KeyId parent, const Text& name, KeyId& child);
  Status AddChild(KeyId parent, const Text& name, KeyId& child);
  // Inside a write: follows the components down from `from`, adding the missing keys.
  Status FindOrAddPath(KeyId from, const std::vector<Text>& components, KeyId& key);
  Status KeyExists(KeyId key);
  Status HasChildren(KeyId key, bool& hasChildren);
  Status RemoveKey(KeyId key);  // with its values

  Status ReadValue(KeyId key, const Text& name, std::uint32_t& type, std::string& data);
  // NotFound when the key no longer exists.
  Status WriteValue(KeyId key, const Text& name, std::uint32_t type, const void* data,
                    std::uint32_t size);
  Status RemoveValue(KeyId key, const Text& name);

  // In case-insensitive order of their names.
  Status ListChildren(KeyId key, std::vector<Text>& names);
  Status ListValues(KeyId key, std::vector<StoredValue>& values);

 private:
  enum Query {
    kFindChild,
    kAddChild,
    kKeyExists,
    kHasChildren,
    kRemoveValues,
    kRemoveKey,
    kReadValue,
    kWriteValue,
    kWriteValueUnchecked,
    kRemoveValue,
    kListChildren,
    kListValues,
    kLastKeyId,
    kSaveLastKeyId,
    kQueryCount,
  };
  class Use;

  // Reads are retried once in a recovered copy when a killed writer's journal is
  // found in the way and this user may not undo it.
  template <typename Read>
  Status Retrying(Read read);
  Status FindChildOnce(KeyId parent, const Text& name, KeyId& child);
  Status KeyExistsOnce(KeyId key);
  Status ReadValueOnce(KeyId key, const Text& name, std::uint32_t& type, std::string& data);
  Status ListChildrenOnce(KeyId key, std::vector<Text>& names);
  Status ListValuesOnce(KeyId key, std::vector<StoredValue>& values);

  Status CreateFile();
  Status Connect(const std::string& file, bool writable);
  Status ConnectToRecoveredCopy();
  Status CheckSchema();
  Status EnsureSchema();
  Status SaveKeyIds();  // before the write transaction commits
  Status SchemaReadyForReading();
  Status QueryNumber(const char* sql, std::int64_t& number);
  int Exec(const char* sql);
  sqlite3_stmt* Prepared(Query query);
  Status Fail(int rc);
  void Report(const std::string& reason);
  void Close();

  std::string path_;
  sqlite3* db_ = nullptr;
  sqlite3_stmt* statements_[kQueryCount] = {};
  bool readOnly_ = false;
  bool schemaReady_ = false;
  bool schemaCurrent_ = false;  // not a store laid out by an earlier version, still to upgrade
  bool inTransaction_ = false;
  bool grouped_ = false;
  bool groupLost_ = false;  // a grouped write failed and took the group's writes with it
  bool interrupted_ = false;  // a killed writer's journal is in the way of reading
  std::string lastReport_;
  KeyLookupCache lookups_;  // only while this connection holds the write lock
  // The highest key id given so far, read at the first key added in a write transaction.
  static constexpr KeyId kUnknownKeyId = -1;
  KeyId lastKeyId_ = kUnknownKeyId;
  bool keyIdsChanged_ = false;
};

}  // namespace orvanel::platform::posix
