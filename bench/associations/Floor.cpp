// The floor of the install benchmark: COUNT keys under the root, each holding one
// value, inserted into an empty SQLite file in one transaction, with the unique
// case-folded names that a registry tree needs. Usage: floor FILE COUNT
#include <sqlite3.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool Run(sqlite3* db, const char* sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &error) == SQLITE_OK) return true;
  std::fprintf(stderr, "floor: %s\n", error ? error : "failed");
  sqlite3_free(error);
  return false;
}

std::string Folded(std::string name) {
  for (auto& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s FILE COUNT\n", argv[0]);
    return 2;
  }
  const long count = std::atol(argv[2]);
  sqlite3* db = nullptr;
  if (sqlite3_open(argv[1], &db) != SQLITE_OK) return 1;
  // The same durability as the store: rollback journal, full sync at commit.
  bool ok = Run(db, "PRAGMA synchronous = FULL") &&
            Run(db,
                "CREATE TABLE keys(id INTEGER PRIMARY KEY, parent INTEGER,"
                " name BLOB NOT NULL, fold BLOB NOT NULL);"
                "CREATE UNIQUE INDEX keys_by_parent ON keys(parent, fold);"
                "CREATE TABLE vals(key INTEGER NOT NULL, fold BLOB NOT NULL, name BLOB NOT NULL,"
                " type INTEGER NOT NULL, data BLOB NOT NULL, PRIMARY KEY(key, fold))"
                " WITHOUT ROWID;") &&
            Run(db, "BEGIN IMMEDIATE");
  sqlite3_stmt* addKey = nullptr;
  sqlite3_stmt* addValue = nullptr;
  ok = ok &&
       sqlite3_prepare_v2(db, "INSERT INTO keys(parent, fold, name) VALUES(0, ?1, ?2)", -1, &addKey,
                          nullptr) == SQLITE_OK &&
       sqlite3_prepare_v2(db, "INSERT INTO vals VALUES(?1, ?2, ?3, 1, ?4)", -1, &addValue,
                          nullptr) == SQLITE_OK;
  static const char16_t kData[] = u"Orvanel";
  for (long i = 0; ok && i < count; ++i) {
    const std::string name = ".e" + std::to_string(i);
    const std::string folded = Folded(name);
    sqlite3_bind_blob(addKey, 1, folded.data(), static_cast<int>(folded.size()), SQLITE_STATIC);
    sqlite3_bind_blob(addKey, 2, name.data(), static_cast<int>(name.size()), SQLITE_STATIC);
    ok = sqlite3_step(addKey) == SQLITE_DONE;
    sqlite3_reset(addKey);
    sqlite3_bind_int64(addValue, 1, sqlite3_last_insert_rowid(db));
    sqlite3_bind_blob(addValue, 2, "", 0, SQLITE_STATIC);
    sqlite3_bind_blob(addValue, 3, "", 0, SQLITE_STATIC);
    sqlite3_bind_blob(addValue, 4, kData, sizeof kData, SQLITE_STATIC);
    ok = ok && sqlite3_step(addValue) == SQLITE_DONE;
    sqlite3_reset(addValue);
  }
  sqlite3_finalize(addKey);
  sqlite3_finalize(addValue);
  ok = ok && Run(db, "COMMIT");
  sqlite3_close(db);
  return ok ? 0 : 1;
}
