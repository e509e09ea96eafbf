// The store file across versions and crashes: key ids are never given twice, a
// store of the earlier layout is read as it is and upgraded by its first write,
// and a write group larger than the page cache is undone whole when killed.
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <string>

#include "ChildProcess.h"
#include "RegistryFixture.h"
#include "platform/Registry.h"

namespace orvanel::test {
namespace {

using registry::Access;

// Runs SQL on the store file directly, as another program (or an earlier Orvanel) would.
void ExecSql(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  char* error = nullptr;
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
  EXPECT_EQ(rc, SQLITE_OK) << (error ? error : "");
  sqlite3_free(error);
  sqlite3_close(db);
}

std::string QueryText(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  std::string result = "(no row)";
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr);
    if (statement && sqlite3_step(statement) == SQLITE_ROW)
      result = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
  }
  sqlite3_close(db);
  return result;
}

class StoreLayoutTest : public RegistryFixture {
 protected:
  void SetUp() override { ASSERT_EQ(mkdir((dir / "lib").c_str(), 0755), 0); }
};

TEST_F(StoreLayoutTest, AStoreOfTheEarlierLayoutIsReadAsItIsAndNeverReusesItsKeyIds) {
  // Key ids handed out by AUTOINCREMENT: "gone" took id 2 and was deleted.
  ExecSql(storePath,
          "PRAGMA application_id = 1330796110; PRAGMA user_version = 1;"
          "CREATE TABLE keys(id INTEGER PRIMARY KEY AUTOINCREMENT, parent INTEGER,"
          " name BLOB NOT NULL, fold BLOB NOT NULL);"
          "CREATE UNIQUE INDEX keys_by_parent ON keys(parent, fold);"
          "CREATE TABLE vals(key INTEGER NOT NULL, fold BLOB NOT NULL, name BLOB NOT NULL,"
          " type INTEGER NOT NULL, data BLOB NOT NULL, PRIMARY KEY(key, fold)) WITHOUT ROWID;"
          "INSERT INTO keys(id, parent, name, fold) VALUES(0, NULL, x'', x'');"
          "INSERT INTO keys(parent, name, fold) VALUES(0, x'6f006c006400', x'004f004c0044');"
          "INSERT INTO vals VALUES(1, x'', x'', 1, x'31000000');"
          "INSERT INTO keys(parent, name, fold) VALUES(0, x'67006f006e006500', x'0047004f004e0045');"
          "DELETE FROM keys WHERE id = 2;");

  EXPECT_EQ(Get(u"OLD", u""), SzBytes(u"1"));
  EXPECT_EQ(QueryText(storePath, "PRAGMA user_version"), "1");  // reading changes nothing

  ASSERT_EQ(Put(u"new", u"", u"2"), Status::Ok);
  EXPECT_EQ(QueryText(storePath, "PRAGMA user_version"), "2");
  EXPECT_EQ(QueryText(storePath, "SELECT id FROM keys WHERE name = x'6e0065007700'"), "3");
  EXPECT_EQ(Get(u"old", u""), SzBytes(u"1"));
  EXPECT_EQ(Get(u"new", u""), SzBytes(u"2"));
}

TEST_F(StoreLayoutTest, AWriteGroupLargerThanTheCacheKilledBeforeItsEndLeavesNothingOfItself) {
  ASSERT_EQ(Put(u"before", u"", u"kept"), Status::Ok);
  const pid_t writer = StartChild([] {
    registry::WriteGroup group;
    const Text data(100, u'd');
    for (int i = 0; i < 30000; ++i) {
      registry::Key key;
      if (registry::CreateKey(u".e" + AsciiText(std::to_string(i).c_str()), key) != Status::Ok ||
          registry::SetTextValue(key, u"", data) != Status::Ok)
        return 1;
    }
    raise(SIGKILL);  // everything written, nothing committed
    return 0;
  });
  ASSERT_EQ(WaitChild(writer), -1);
  const std::string journal = ReadFile(storePath + "-journal");
  ASSERT_FALSE(journal.empty());
  ASSERT_NE(journal[0], '\0');  // the group had spilled into the file

  EXPECT_FALSE(KeyExists(u".e0"));
  EXPECT_FALSE(KeyExists(u".e29999"));
  EXPECT_EQ(Get(u"before", u""), SzBytes(u"kept"));
  EXPECT_EQ(QueryText(storePath, "PRAGMA integrity_check"), "ok");
  EXPECT_EQ(Put(u".e0", u"", u"after"), Status::Ok);
  EXPECT_EQ(Get(u".e0", u""), SzBytes(u"after"));
}

}  // namespace
}  // namespace orvanel::test
