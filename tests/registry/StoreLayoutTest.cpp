// The store file across versions and crashes: key ids are never given twice, a
// store of the earlier layout is upgraded by the first process that may write it,
// and a write group larger than the page cache is undone whole when killed.
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

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

// An earlier layout: names in UTF-16 (folded ones big-endian), key ids given by
// AUTOINCREMENT. "gone" took id 4 and was deleted.
constexpr const char* kEarlierStoreSql =
    "PRAGMA application_id = 1330796110; PRAGMA user_version = 1;"
    "CREATE TABLE keys(id INTEGER PRIMARY KEY AUTOINCREMENT, parent INTEGER,"
    " name BLOB NOT NULL, fold BLOB NOT NULL);"
    "CREATE UNIQUE INDEX keys_by_parent ON keys(parent, fold);"
    "CREATE TABLE vals(key INTEGER NOT NULL, fold BLOB NOT NULL, name BLOB NOT NULL,"
    " type INTEGER NOT NULL, data BLOB NOT NULL, PRIMARY KEY(key, fold)) WITHOUT ROWID;"
    "INSERT INTO keys VALUES(0, NULL, x'', x'');"
    "INSERT INTO keys VALUES(1, 0, x'4f006c006400', x'004f004c0044');"          // Old
    "INSERT INTO keys VALUES(3, 1, x'53007500620000d8', x'005300550042d800');"  // Sub\xD800
    "INSERT INTO keys VALUES(4, 0, x'67006f006e006500', x'0047004f004e0045');"  // gone
    "DELETE FROM keys WHERE id = 4;"
    "INSERT INTO vals VALUES(1, x'004e00c4004d0045', x'4e00e4006d006500', 1, x'31000000');";  // Näme

TEST_F(StoreLayoutTest, AStoreOfTheEarlierLayoutIsUpgradedWholeAndNeverReusesItsKeyIds) {
  ExecSql(storePath, kEarlierStoreSql);
  chmod(dir.path().c_str(), 0755);
  const std::string errors = dir / "stderr";
  WriteFile(errors, "");
  chmod(errors.c_str(), 0666);
  // A user who may not write the store cannot upgrade it, so cannot read it either.
  EXPECT_EQ(RunInChild(
                [&] {
                  if (!freopen(errors.c_str(), "w", stderr)) return 9;
                  registry::Key key;
                  return registry::OpenKey(u"Old", Access::Read, key) == Status::Failed ? 0 : 1;
                },
                kNobody),
            0);
  EXPECT_EQ(ReadFile(errors), "orvanel: registry store " + storePath +
                                  ": laid out by an earlier version of Orvanel; an install as"
                                  " administrator updates it\n");
  EXPECT_EQ(QueryText(storePath, "PRAGMA user_version"), "1");

  // The first reader who may write it upgrades it, names and values intact.
  EXPECT_EQ(Get(u"OLD", u"N\u00C4ME"), SzBytes(u"1"));
  EXPECT_EQ(QueryText(storePath, "PRAGMA user_version"), "2");
  registry::Key old;
  ASSERT_EQ(registry::OpenKey(u"old", Access::Read, old), Status::Ok);
  std::vector<Text> subkeys;
  ASSERT_EQ(registry::ListSubkeys(old, subkeys), Status::Ok);
  EXPECT_EQ(subkeys, std::vector<Text>{Text(u"Sub\xD800", 4)});
  EXPECT_TRUE(KeyExists(Text(u"old\\SUB\xD800", 8)));
  std::vector<registry::NamedValue> values;
  ASSERT_EQ(registry::ListValues(old, values), Status::Ok);
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].name, u"N\u00E4me");

  ASSERT_EQ(Put(u"new", u"", u"2"), Status::Ok);
  EXPECT_EQ(QueryText(storePath, "SELECT id FROM keys WHERE name = CAST('new' AS BLOB)"), "5");
  EXPECT_EQ(QueryText(storePath, "PRAGMA integrity_check"), "ok");
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
