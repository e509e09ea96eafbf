#include "platform/posix/RegistryStore.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/Diagnostics.h"
#include "platform/posix/Folders.h"
#include "platform/posix/RegistryNames.h"
#include "platform/posix/RegistryRecovery.h"

namespace orvanel::platform::posix {
namespace {

using Status = registry::Status;

// Long enough for another process's bulk write to finish; a writer never fails
// for finding the store busy, it waits. ORVANEL_REGISTRY_WAIT (seconds, 1 to 600)
// sets another wait, for tests and slow machines.
constexpr int kBusyTimeoutMs = 120000;

int BusyTimeoutMs() {
  const char* setting = std::getenv("ORVANEL_REGISTRY_WAIT");
  if (!setting || !*setting) return kBusyTimeoutMs;
  char* end = nullptr;
  const long seconds = std::strtol(setting, &end, 10);
  if (*end != '\0' || seconds < 1 || seconds > 600) return kBusyTimeoutMs;
  return static_cast<int>(seconds * 1000);
}

// Marks the file as ours ("ORVN"), so that another program's database is never
// mistaken for an empty store and written into.
constexpr std::int64_t kApplicationId = 0x4F52564E;
constexpr std::int64_t kSchemaVersion = 2;
// Stores whose key ids SQLite handed out (AUTOINCREMENT) and whose names were
// UTF-16: brought to the current layout by the first process that may write them.
constexpr std::int64_t kEarlierSchemaVersion = 1;

// Keys form a tree below the root (id 0); names are kept as given and looked up
// by their folded form (see RegistryNames.h). Key ids are never reused, so a handle to a
// deleted key cannot reach a newer one: key_ids holds the highest id ever given,
// read once per write transaction and saved at its commit (AUTOINCREMENT would
// write its counter at every insert).
constexpr const char* kTablesSql =
    "CREATE TABLE keys(id INTEGER PRIMARY KEY, parent INTEGER,"
    " name BLOB NOT NULL, fold BLOB NOT NULL);"
    "CREATE UNIQUE INDEX keys_by_parent ON keys(parent, fold);"
    "CREATE TABLE vals(key INTEGER NOT NULL, fold BLOB NOT NULL, name BLOB NOT NULL,"
    " type INTEGER NOT NULL, data BLOB NOT NULL, PRIMARY KEY(key, fold)) WITHOUT ROWID;"
    "CREATE TABLE key_ids(last INTEGER NOT NULL);";

std::string SchemaSql() {
  return "PRAGMA application_id = " + std::to_string(kApplicationId) + ";" +
         "PRAGMA user_version = " + std::to_string(kSchemaVersion) + ";" + kTablesSql +
         "INSERT INTO keys(id, parent, name, fold) VALUES(0, NULL, x'', x'');"
         "INSERT INTO key_ids VALUES(0);";
}

// From the earlier layout, in the writer's transaction: the tables are laid out
// anew and filled with the names re-encoded (by NameFromEarlierLayout); the highest
// key id ever given is SQLite's counter, or a larger id should the counter be behind.
std::string UpgradeSql() {
  return std::string("ALTER TABLE keys RENAME TO earlier_keys;"
                     "DROP INDEX keys_by_parent;"
                     "ALTER TABLE vals RENAME TO earlier_vals;") +
         kTablesSql +
         "INSERT INTO key_ids SELECT max("
         "(SELECT ifnull(max(seq), 0) FROM sqlite_sequence WHERE name IN ('keys', 'earlier_keys')),"
         " (SELECT ifnull(max(id), 0) FROM earlier_keys));"
         "INSERT INTO keys SELECT id, parent, earlier_name(name, 0), earlier_name(fold, 1)"
         " FROM earlier_keys;"
         "INSERT INTO vals SELECT key, earlier_name(fold, 1), earlier_name(name, 0), type, data"
         " FROM earlier_vals;"
         "DROP TABLE earlier_keys; DROP TABLE earlier_vals;"
         "PRAGMA user_version = " + std::to_string(kSchemaVersion) + ";";
}

// earlier_name(bytes, folded): a name of the earlier layout, UTF-16LE as given or
// UTF-16BE when folded, in today's stored form.
void NameFromEarlierLayout(sqlite3_context* context, int, sqlite3_value** arguments) {
  const auto* bytes = static_cast<const unsigned char*>(sqlite3_value_blob(arguments[0]));
  const size_t size = static_cast<size_t>(sqlite3_value_bytes(arguments[0]));
  const bool bigEndian = sqlite3_value_int(arguments[1]) != 0;
  Text name(size / 2, u'\0');
  for (size_t i = 0; i < name.size(); ++i) {
    const unsigned first = bytes[2 * i], second = bytes[2 * i + 1];
    name[i] = static_cast<char16_t>(bigEndian ? first << 8 | second : second << 8 | first);
  }
  const std::string stored = StoredName(name);
  sqlite3_result_blob64(context, stored.data(), stored.size(), SQLITE_TRANSIENT);
}

// Indexed by RegistryStore::Query.
constexpr const char* kQueries[] = {
    "SELECT id FROM keys WHERE parent = ?1 AND fold = ?2",
    "INSERT INTO keys(id, parent, name, fold) VALUES(?1, ?2, ?3, ?4)",
    "SELECT 1 FROM keys WHERE id = ?1",
    "SELECT 1 FROM keys WHERE parent = ?1 LIMIT 1",
    "DELETE FROM vals WHERE key = ?1",
    "DELETE FROM keys WHERE id = ?1",
    "SELECT type, data FROM vals WHERE key = ?1 AND fold = ?2",
    // A value is only written into a key that still exists (another process may
    // have deleted it since it was opened). A new spelling of an existing name
    // keeps the name as first written, as Windows does.
    "INSERT INTO vals(key, fold, name, type, data)"
    " SELECT ?1, ?2, ?3, ?4, ?5 WHERE EXISTS(SELECT 1 FROM keys WHERE id = ?1)"
    " ON CONFLICT(key, fold) DO UPDATE SET type = excluded.type, data = excluded.data",
    // The same for a key known to exist.
    "INSERT INTO vals(key, fold, name, type, data) VALUES(?1, ?2, ?3, ?4, ?5)"
    " ON CONFLICT(key, fold) DO UPDATE SET type = excluded.type, data = excluded.data",
    "DELETE FROM vals WHERE key = ?1 AND fold = ?2",
    "SELECT name FROM keys WHERE parent = ?1 ORDER BY fold",
    "SELECT name, type, data FROM vals WHERE key = ?1 ORDER BY fold",
    "SELECT last FROM key_ids",
    "UPDATE key_ids SET last = ?1",
};

bool IsPermissionError(int error) {
  return error == EACCES || error == EPERM || error == EROFS;
}

// Creates the folder and the missing folders above it, readable by every user.
int MakeStoreFolders(const std::string& folder) {
  // Whatever the umask: every user reads the store.
  return MakeFolders(folder, 0755, [](const std::string& made) { chmod(made.c_str(), 0755); });
}

// SQLite counts every allocation under a global mutex for statistics that the
// store never reads; without them a bulk registration costs a tenth less. This
// only takes effect before SQLite's first use in the process, else it is ignored.
void TurnOffMemoryStatistics() {
  static const int once = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
  static_cast<void>(once);
}

std::string ColumnBytes(sqlite3_stmt* statement, int column) {
  const void* bytes = sqlite3_column_blob(statement, column);
  const int size = sqlite3_column_bytes(statement, column);
  return bytes ? std::string(static_cast<const char*>(bytes), static_cast<size_t>(size))
               : std::string();
}

Text ColumnName(sqlite3_stmt* statement, int column) {
  const void* bytes = sqlite3_column_blob(statement, column);
  return NameFromStored(bytes, bytes ? static_cast<size_t>(sqlite3_column_bytes(statement, column)) : 0);
}

}  // namespace

// One use of a prepared statement: bound, stepped, and reset when it ends.
// Bound bytes are not copied, so they must outlive the Use.
class RegistryStore::Use {
 public:
  Use(RegistryStore& store, Query query) : statement_(store.Prepared(query)) {}
  ~Use() {
    if (statement_) {
      sqlite3_reset(statement_);
      sqlite3_clear_bindings(statement_);
    }
  }
  Use(const Use&) = delete;
  Use& operator=(const Use&) = delete;

  explicit operator bool() const { return statement_ != nullptr; }
  sqlite3_stmt* get() const { return statement_; }

  Use& Int(int index, std::int64_t value) {
    sqlite3_bind_int64(statement_, index, value);
    return *this;
  }
  // Never binds NULL: an empty name or value is an empty blob.
  Use& Bytes(int index, const void* data, size_t size) {
    static const char kEmpty = 0;
    sqlite3_bind_blob64(statement_, index, size ? data : &kEmpty, size, SQLITE_STATIC);
    return *this;
  }
  Use& Bytes(int index, const std::string& bytes) { return Bytes(index, bytes.data(), bytes.size()); }
  int Step() { return sqlite3_step(statement_); }

 private:
  sqlite3_stmt* statement_;
};

RegistryStore::RegistryStore(std::string path) : path_(std::move(path)) {}

RegistryStore::~RegistryStore() { Close(); }

void RegistryStore::Close() {
  for (auto& statement : statements_) {
    sqlite3_finalize(statement);
    statement = nullptr;
  }
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
  schemaReady_ = schemaCurrent_ = false;
  inTransaction_ = false;
  grouped_ = false;
  lookups_.Clear();
}

void RegistryStore::Report(const std::string& reason) {
  // One line per distinct problem: a bulk of writes to a broken store must not
  // flood the diagnostics.
  if (reason == lastReport_) return;
  lastReport_ = reason;
  ReportDiagnostic("orvanel: registry store " + path_ + ": " + reason);
}

Status RegistryStore::Fail(int rc) {
  if (rc == SQLITE_READONLY_ROLLBACK) {
    interrupted_ = true;  // the read is retried in a recovered copy
    return Status::Failed;
  }
  if ((rc & 0xFF) == SQLITE_READONLY) return Status::AccessDenied;
  std::string reason;
  if ((rc & 0xFF) == SQLITE_CANTOPEN && db_ && sqlite3_system_errno(db_) != 0) {
    reason = std::strerror(sqlite3_system_errno(db_));
  } else {
    reason = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
  }
  if (inTransaction_ && grouped_ && sqlite3_get_autocommit(db_)) {
    // SQLite gave up the group's transaction: one line says what went and why.
    Report("the writes grouped so far were lost: " + reason);
    groupLost_ = true;
    return Status::Failed;
  }
  Report(reason);
  return Status::Failed;
}

int RegistryStore::Exec(const char* sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr); }

sqlite3_stmt* RegistryStore::Prepared(Query query) {
  if (!statements_[query]) {
    sqlite3_prepare_v3(db_, kQueries[query], -1, SQLITE_PREPARE_PERSISTENT, &statements_[query],
                       nullptr);
  }
  return statements_[query];
}

Status RegistryStore::CreateFile() {
  if (const int error = MakeStoreFolders(ParentFolder(path_))) {
    if (IsPermissionError(error)) return Status::AccessDenied;
    Report(std::strerror(error));
    return Status::Failed;
  }
  const int fd = open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    if (errno == EEXIST) return Status::Ok;  // another process was quicker
    if (IsPermissionError(errno)) return Status::AccessDenied;
    Report(std::strerror(errno));
    return Status::Failed;
  }
  fchmod(fd, 0644);  // whatever the umask: every user reads the store
  close(fd);
  return Status::Ok;
}

Status RegistryStore::Open(bool forWrite) {
  if (db_) return forWrite && readOnly_ ? Status::AccessDenied : Status::Ok;
  struct stat info;
  if (stat(path_.c_str(), &info) != 0) {
    const int error = errno;
    if (error == ENOENT && !forWrite) return Status::NotFound;
    if (forWrite && IsPermissionError(error)) return Status::AccessDenied;
    if (error != ENOENT) {
      Report(std::strerror(error));
      return Status::Failed;
    }
    if (const Status created = CreateFile(); created != Status::Ok) return created;
    if (stat(path_.c_str(), &info) != 0) {
      Report(std::strerror(errno));
      return Status::Failed;
    }
  }
  if (S_ISDIR(info.st_mode)) {
    Report("is a folder, not a file");
    return Status::Failed;
  }
  // Checked here so that the message names the cause rather than SQLite's
  // "unable to open database file".
  const int fd = open(path_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    Report(std::strerror(errno));
    return Status::Failed;
  }
  close(fd);
  // The journal is created beside the file, so writing needs the folder too.
  const bool writable = faccessat(AT_FDCWD, path_.c_str(), W_OK, AT_EACCESS) == 0 &&
                        faccessat(AT_FDCWD, ParentFolder(path_).c_str(), W_OK | X_OK, AT_EACCESS) == 0;
  if (forWrite && !writable) return Status::AccessDenied;

  readOnly_ = !writable;
  interrupted_ = false;
  Status status = Connect(path_, writable);
  if (status != Status::Ok && interrupted_) status = ConnectToRecoveredCopy();
  return status;
}

Status RegistryStore::Connect(const std::string& file, bool writable) {
  TurnOffMemoryStatistics();
  const int flags = (writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY) | SQLITE_OPEN_NOMUTEX;
  if (const int rc = sqlite3_open_v2(file.c_str(), &db_, flags, nullptr); rc != SQLITE_OK) {
    const Status status = Fail(rc);
    Close();
    return status;
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, BusyTimeoutMs());
  // A rollback journal (never WAL: readers may not be able to write anything) and
  // a full sync at each commit, so that a crash leaves the store whole. The cache is
  // small so that memory stays flat however large a write group grows; a group that
  // outgrows it spills into the file (the journal still undoes it whole), and from
  // then on readers wait for its commit instead of reading the state before it.
  Exec("PRAGMA synchronous = FULL; PRAGMA cache_size = -4096");
  const Status status = CheckSchema();
  if (status != Status::Ok) Close();
  return status;
}

// A writer was killed mid-write and left its journal; only a user who may write
// the store can undo that in place. Until one does, this reader undoes it in a
// private copy and reads that: the store stays readable for every user.
Status RegistryStore::ConnectToRecoveredCopy() {
  std::string copy, error;
  if (!CopyForRecovery(path_, copy, error)) {
    Report("a write was interrupted and cannot be undone here: " + error);
    return Status::Failed;
  }
  interrupted_ = false;
  const Status status = Connect(copy, true);
  RemoveRecoveryCopy(copy);  // the connection keeps the file open
  if (status == Status::Ok && interrupted_) {
    Report("a write was interrupted and cannot be undone here");
    Close();
    return Status::Failed;
  }
  return status;
}

Status RegistryStore::QueryNumber(const char* sql, std::int64_t& number) {
  sqlite3_stmt* statement = nullptr;
  int rc = sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr);
  if (rc == SQLITE_OK) {
    rc = sqlite3_step(statement);
    if (rc == SQLITE_ROW) {
      number = sqlite3_column_int64(statement, 0);
      rc = SQLITE_OK;
    }
  }
  const Status status = rc == SQLITE_OK ? Status::Ok : Fail(rc);
  sqlite3_finalize(statement);
  return status;
}

Status RegistryStore::CheckSchema() {
  std::int64_t tables = 0, applicationId = 0, version = 0;
  if (const Status status = QueryNumber("SELECT count(*) FROM sqlite_schema", tables);
      status != Status::Ok)
    return status;
  if (tables == 0) {
    schemaReady_ = false;  // an empty file: the first writer lays the store out
    return Status::Ok;
  }
  if (const Status status = QueryNumber("PRAGMA application_id", applicationId); status != Status::Ok)
    return status;
  if (const Status status = QueryNumber("PRAGMA user_version", version); status != Status::Ok)
    return status;
  if (applicationId != kApplicationId) {
    Report("not a registry store of Orvanel (another program's database)");
    return Status::Failed;
  }
  if (version != kSchemaVersion && version != kEarlierSchemaVersion) {
    Report("laid out by another version of Orvanel");
    return Status::Failed;
  }
  schemaReady_ = true;
  schemaCurrent_ = version == kSchemaVersion;
  return Status::Ok;
}

Status RegistryStore::SchemaReadyForReading() {
  if (schemaReady_ && schemaCurrent_) return Status::Ok;
  if (const Status status = CheckSchema(); status != Status::Ok) return status;
  if (!schemaReady_) return Status::NotFound;
  if (schemaCurrent_) return Status::Ok;
  if (readOnly_ || inTransaction_) {
    Report("laid out by an earlier version of Orvanel; an install as administrator updates it");
    return Status::Failed;
  }
  bool startedGroup = false;
  return EndWrite(BeginWrite(false, startedGroup));  // which upgrades it
}

// Inside the write transaction: another process may have laid the store out or
// upgraded it since this connection last looked.
Status RegistryStore::EnsureSchema() {
  if (schemaReady_ && schemaCurrent_) return Status::Ok;
  if (const Status status = CheckSchema(); status != Status::Ok) return status;
  if (schemaReady_ && schemaCurrent_) return Status::Ok;
  if (schemaReady_) {
    const int rc = sqlite3_create_function_v2(db_, "earlier_name", 2,
                                              SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                              NameFromEarlierLayout, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) return Fail(rc);
  }
  const std::string sql = schemaReady_ ? UpgradeSql() : SchemaSql();
  if (const int rc = Exec(sql.c_str()); rc != SQLITE_OK) return Fail(rc);
  schemaReady_ = schemaCurrent_ = true;
  return Status::Ok;
}

Status RegistryStore::SaveKeyIds() {
  if (!keyIdsChanged_) return Status::Ok;
  Use use(*this, kSaveLastKeyId);
  if (!use) return Fail(sqlite3_errcode(db_));
  if (const int rc = use.Int(1, lastKeyId_).Step(); rc != SQLITE_DONE) return Fail(rc);
  keyIdsChanged_ = false;
  return Status::Ok;
}

Status RegistryStore::BeginWrite(bool grouped, bool& startedGroup) {
  startedGroup = false;
  if (inTransaction_) return Status::Ok;  // the group's transaction is open
  // IMMEDIATE takes the write lock now: a transaction that began as a reader could
  // not become a writer while another process writes, and would fail as "locked".
  if (const int rc = Exec("BEGIN IMMEDIATE"); rc != SQLITE_OK) return Fail(rc);
  inTransaction_ = true;
  lookups_.Clear();
  lastKeyId_ = kUnknownKeyId;  // another process may have added keys since
  keyIdsChanged_ = false;
  grouped_ = grouped;
  if (const Status status = EnsureSchema(); status != Status::Ok) {
    Exec("ROLLBACK");
    inTransaction_ = grouped_ = false;
    return status;
  }
  startedGroup = grouped;
  return Status::Ok;
}

Status RegistryStore::EndWrite(Status result) {
  if (!inTransaction_) return result;
  if (result != Status::Ok) lookups_.Clear();  // a failed step may have changed less than it says
  if (sqlite3_get_autocommit(db_)) {
    // SQLite has already rolled the transaction back after an error.
    if (grouped_ && !groupLost_) Report("the writes grouped so far were lost");
    if (grouped_) groupLost_ = true;
    inTransaction_ = grouped_ = false;
    lookups_.Clear();
    return result == Status::Ok ? Status::Failed : result;
  }
  if (grouped_) return result;
  inTransaction_ = false;
  lookups_.Clear();
  if (result == Status::Ok) result = SaveKeyIds();
  if (result != Status::Ok) {
    Exec("ROLLBACK");
    return result;
  }
  if (const int rc = Exec("COMMIT"); rc != SQLITE_OK) {
    const Status status = Fail(rc);
    Exec("ROLLBACK");
    return status;
  }
  return Status::Ok;
}

Status RegistryStore::CommitGroup() {
  const bool lost = groupLost_;
  groupLost_ = false;
  if (!inTransaction_ || !grouped_) return lost ? Status::Failed : Status::Ok;
  inTransaction_ = grouped_ = false;
  lookups_.Clear();
  if (sqlite3_get_autocommit(db_)) {
    Report("the grouped writes were lost");
    return Status::Failed;
  }
  if (SaveKeyIds() != Status::Ok) {
    Report("the grouped writes were not saved");
    Exec("ROLLBACK");
    return Status::Failed;
  }
  if (const int rc = Exec("COMMIT"); rc != SQLITE_OK) {
    // One line that says what was lost and why.
    Report(std::string("the grouped writes were not saved: ") + sqlite3_errmsg(db_));
    Exec("ROLLBACK");
    return Status::Failed;
  }
  return lost ? Status::Failed : Status::Ok;
}

template <typename Read>
Status RegistryStore::Retrying(Read read) {
  Status status = read();
  if (status == Status::Failed && interrupted_ && readOnly_ && !inTransaction_) {
    Close();
    status = Open(false);
    if (status == Status::Ok) status = read();
  }
  return status;
}

Status RegistryStore::FindChild(KeyId parent, const Text& name, KeyId& child) {
  return Retrying([&] { return FindChildOnce(parent, name, child); });
}

Status RegistryStore::KeyExists(KeyId key) {
  return Retrying([&] { return KeyExistsOnce(key); });
}

Status RegistryStore::ReadValue(KeyId key, const Text& name, std::uint32_t& type, std::string& data) {
  return Retrying([&] { return ReadValueOnce(key, name, type, data); });
}

Status RegistryStore::ListChildren(KeyId key, std::vector<Text>& names) {
  return Retrying([&] { return ListChildrenOnce(key, names); });
}

Status RegistryStore::ListValues(KeyId key, std::vector<StoredValue>& values) {
  return Retrying([&] { return ListValuesOnce(key, values); });
}

Status RegistryStore::FindChildOnce(KeyId parent, const Text& name, KeyId& child) {
  if (const Status status = SchemaReadyForReading(); status != Status::Ok) return status;
  const std::string fold = FoldName(name);
  KeyId found = KeyLookupCache::kAbsent;
  if (!inTransaction_ || !lookups_.Find(parent, fold, found)) {
    Use use(*this, kFindChild);
    if (!use) return Fail(sqlite3_errcode(db_));
    use.Int(1, parent).Bytes(2, fold);
    const int rc = use.Step();
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) return Fail(rc);
    if (rc == SQLITE_ROW) found = sqlite3_column_int64(use.get(), 0);
    if (inTransaction_) lookups_.Remember(parent, fold, found);
  }
  if (found == KeyLookupCache::kAbsent) return Status::NotFound;
  child = found;
  return Status::Ok;
}

Status RegistryStore::AddChild(KeyId parent, const Text& name, KeyId& child) {
  if (lastKeyId_ == kUnknownKeyId) {
    Use use(*this, kLastKeyId);
    if (!use) return Fail(sqlite3_errcode(db_));
    const int rc = use.Step();
    if (rc == SQLITE_DONE) {
      Report("the record of the key numbers is missing");
      return Status::Failed;
    }
    if (rc != SQLITE_ROW) return Fail(rc);
    lastKeyId_ = sqlite3_column_int64(use.get(), 0);
  }
  const KeyId id = lastKeyId_ + 1;
  const std::string bytes = StoredName(name);
  const std::string fold = FoldName(name);
  Use use(*this, kAddChild);
  if (!use) return Fail(sqlite3_errcode(db_));
  use.Int(1, id).Int(2, parent).Bytes(3, bytes).Bytes(4, fold);
  if (const int rc = use.Step(); rc != SQLITE_DONE) return Fail(rc);
  lastKeyId_ = child = id;
  keyIdsChanged_ = true;
  lookups_.RememberAdded(parent, fold, child);
  return Status::Ok;
}

Status RegistryStore::FindOrAddPath(KeyId from, const std::vector<Text>& components, KeyId& key) {
  key = from;
  for (const Text& name : components) {
    Status status = FindChild(key, name, key);
    if (status == Status::NotFound) status = AddChild(key, name, key);
    if (status != Status::Ok) return status;
  }
  return Status::Ok;
}

Status RegistryStore::KeyExistsOnce(KeyId key) {
  if (inTransaction_ && lookups_.IsKnownToExist(key)) return Status::Ok;
  if (const Status status = SchemaReadyForReading(); status != Status::Ok) return status;
  Use use(*this, kKeyExists);
  if (!use) return Fail(sqlite3_errcode(db_));
  use.Int(1, key);
  const int rc = use.Step();
  if (rc == SQLITE_ROW) return Status::Ok;
  return rc == SQLITE_DONE ? Status::NotFound : Fail(rc);
}

Status RegistryStore::HasChildren(KeyId key, bool& hasChildren) {
  Use use(*this, kHasChildren);
  if (!use) return Fail(sqlite3_errcode(db_));
  use.Int(1, key);
  const int rc = use.Step();
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) return Fail(rc);
  hasChildren = rc == SQLITE_ROW;
  return Status::Ok;
}

Status RegistryStore::RemoveKey(KeyId key) {
  lookups_.Clear();
  {
    Use use(*this, kRemoveValues);
    if (!use) return Fail(sqlite3_errcode(db_));
    if (const int rc = use.Int(1, key).Step(); rc != SQLITE_DONE) return Fail(rc);
  }
  Use use(*this, kRemoveKey);
  if (!use) return Fail(sqlite3_errcode(db_));
  if (const int rc = use.Int(1, key).Step(); rc != SQLITE_DONE) return Fail(rc);
  return sqlite3_changes(db_) ? Status::Ok : Status::NotFound;
}

Status RegistryStore::ReadValueOnce(KeyId key, const Text& name, std::uint32_t& type,
                                std::string& data) {
  if (const Status status = SchemaReadyForReading(); status != Status::Ok) return status;
  const std::string fold = FoldName(name);
  Use use(*this, kReadValue);
  if (!use) return Fail(sqlite3_errcode(db_));
  use.Int(1, key).Bytes(2, fold);
  const int rc = use.Step();
  if (rc == SQLITE_DONE) return Status::NotFound;
  if (rc != SQLITE_ROW) return Fail(rc);
  type = static_cast<std::uint32_t>(sqlite3_column_int64(use.get(), 0));
  data = ColumnBytes(use.get(), 1);
  return Status::Ok;
}

Status RegistryStore::WriteValue(KeyId key, const Text& name, std::uint32_t type,
                                 const void* data, std::uint32_t size) {
  const std::string bytes = StoredName(name);
  const std::string fold = FoldName(name);
  Use use(*this, inTransaction_ && lookups_.IsKnownToExist(key) ? kWriteValueUnchecked : kWriteValue);
  if (!use) return Fail(sqlite3_errcode(db_));
  use.Int(1, key).Bytes(2, fold).Bytes(3, bytes).Int(4, type).Bytes(5, data, size);
  if (const int rc = use.Step(); rc != SQLITE_DONE) return Fail(rc);
  return sqlite3_changes(db_) ? Status::Ok : Status::NotFound;
}

Status RegistryStore::RemoveValue(KeyId key, const Text& name) {
  const std::string fold = FoldName(name);
  Use use(*this, kRemoveValue);
  if (!use) return Fail(sqlite3_errcode(db_));
  use.Int(1, key).Bytes(2, fold);
  if (const int rc = use.Step(); rc != SQLITE_DONE) return Fail(rc);
  return sqlite3_changes(db_) ? Status::Ok : Status::NotFound;
}

Status RegistryStore::ListChildrenOnce(KeyId key, std::vector<Text>& names) {
  names.clear();
  if (const Status status = SchemaReadyForReading(); status != Status::Ok) return status;
  Use use(*this, kListChildren);
  if (!use) return Fail(sqlite3_errcode(db_));
  use.Int(1, key);
  int rc;
  while ((rc = use.Step()) == SQLITE_ROW) names.push_back(ColumnName(use.get(), 0));
  return rc == SQLITE_DONE ? Status::Ok : Fail(rc);
}

Status RegistryStore::ListValuesOnce(KeyId key, std::vector<StoredValue>& values) {
  values.clear();
  if (const Status status = SchemaReadyForReading(); status != Status::Ok) return status;
  Use use(*this, kListValues);
  if (!use) return Fail(sqlite3_errcode(db_));
  use.Int(1, key);
  int rc;
  while ((rc = use.Step()) == SQLITE_ROW) {
    StoredValue value;
    value.name = ColumnName(use.get(), 0);
    value.type = static_cast<std::uint32_t>(sqlite3_column_int64(use.get(), 1));
    value.data = ColumnBytes(use.get(), 2);
    values.push_back(std::move(value));
  }
  return rc == SQLITE_DONE ? Status::Ok : Fail(rc);
}

}  // namespace orvanel::platform::posix
