// The store shared between processes and users: writers at once, a writer killed
// mid-write, readers who may not write, and files that are no store at all.
#include <fcntl.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "ChildProcess.h"
#include "RegistryFixture.h"
#include "platform/Registry.h"

namespace orvanel::test {
namespace {

using registry::Access;

Text Numbered(const char* prefix, int number) {
  return AsciiText(prefix) + AsciiText(std::to_string(number).c_str());
}

// A file that a child, whatever its user, sends its standard error to.
std::string ErrorFile(const TempDir& dir, const std::string& name) {
  const std::string path = dir / name;
  WriteFile(path, "");
  chmod(path.c_str(), 0666);
  return path;
}

void RedirectStderr(const std::string& file) {
  const int fd = open(file.c_str(), O_WRONLY | O_TRUNC);
  if (fd < 0) _exit(125);
  dup2(fd, 2);
  close(fd);
}

std::string IntegrityCheck(const std::string& path) {
  sqlite3* db = nullptr;
  std::string result = "cannot open";
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr);
    if (statement && sqlite3_step(statement) == SQLITE_ROW)
      result = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
  }
  sqlite3_close(db);
  return result;
}

size_t ValueCount(const Text& path) {
  registry::Key key;
  std::vector<registry::NamedValue> values;
  if (registry::OpenKey(path, Access::Read, key) != Status::Ok ||
      registry::ListValues(key, values) != Status::Ok)
    return SIZE_MAX;
  return values.size();
}

std::vector<Text> Subkeys(const Text& path) {
  registry::Key key;
  std::vector<Text> names;
  if (registry::OpenKey(path, Access::Read, key) == Status::Ok) registry::ListSubkeys(key, names);
  return names;
}

class StoreSharingTest : public RegistryFixture {
 protected:
  void SetUp() override {
    // Other users must reach the store's folder.
    chmod(dir.path().c_str(), 0755);
  }
};

TEST_F(StoreSharingTest, EightProcessesWritingAtOnceLoseNothing) {
  constexpr int kWriters = 8, kReaders = 2, kRounds = 20;
  int go[2];
  ASSERT_EQ(pipe(go), 0);
  std::vector<pid_t> children;
  std::vector<std::string> errors;
  for (int w = 0; w < kWriters + kReaders; ++w) {
    errors.push_back(ErrorFile(dir, "stderr" + std::to_string(w)));
    children.push_back(StartChild([&, w] {
      RedirectStderr(errors[w]);
      close(go[1]);
      char byte;
      if (read(go[0], &byte, 1) != 0) return 10;  // all start when the pipe closes
      for (int r = 0; r < kRounds; ++r) {
        if (w >= kWriters) {
          registry::Key shared;
          const Status status = registry::OpenKey(u"shared", Access::Read, shared);
          if (status != Status::Ok && status != Status::NotFound) return 3;
          continue;
        }
        // Some writers group a few writes, as a bulk registration does.
        std::optional<registry::WriteGroup> group;
        if (w % 2 == 1) group.emplace();
        if (Put(u"own\\" + Numbered("w", w) + u"\\" + Numbered("r", r), u"", u"x") != Status::Ok) return 1;
        registry::Key shared;
        if (registry::CreateKey(u"shared", shared) != Status::Ok ||
            registry::SetTextValue(shared, Numbered("w", w) + Numbered("r", r), u"y") != Status::Ok)
          return 2;
      }
      return 0;
    }));
  }
  close(go[0]);
  close(go[1]);
  for (pid_t child : children) EXPECT_EQ(WaitChild(child), 0);

  for (int w = 0; w < kWriters + kReaders; ++w)
    EXPECT_EQ(ReadFile(errors[w]), "") << "process " << w;
  EXPECT_EQ(ValueCount(u"shared"), static_cast<size_t>(kWriters * kRounds));
  for (int w = 0; w < kWriters; ++w)
    EXPECT_EQ(Subkeys(u"own\\" + Numbered("w", w)).size(), static_cast<size_t>(kRounds)) << w;
}

TEST_F(StoreSharingTest, AWriterKilledMidWriteLeavesAWholeStoreForEveryUser) {
  constexpr int kValuesPerBatch = 400;
  int batchesSeen = 0;
  for (int round = 0; round < 5; ++round) {
    SCOPED_TRACE(round);
    // Batches of values, each written in one group: all of a batch or nothing.
    const pid_t writer = StartChild([round] {
      const Text text(200, u'v');
      for (int batch = 0;; ++batch) {
        registry::WriteGroup group;
        registry::Key key;
        if (registry::CreateKey(Numbered("round", round) + u"\\" + Numbered("batch", batch), key) != Status::Ok)
          return 1;
        for (int i = 0; i < kValuesPerBatch; ++i) {
          if (registry::SetTextValue(key, Numbered("v", i), text) != Status::Ok) return 2;
        }
      }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(150 + 97 * round));
    kill(writer, SIGKILL);
    ASSERT_EQ(WaitChild(writer), -1);  // it was still writing

    // First a user who may not undo the interrupted write reads it...
    const Text roundKey = Numbered("round", round);
    const std::string errors = ErrorFile(dir, "nobody-stderr");
    const int seenByNobody = RunInChild(
        [&] {
          RedirectStderr(errors);
          std::vector<Text> batches = Subkeys(roundKey);
          for (const Text& batch : batches) {
            if (ValueCount(roundKey + u"\\" + batch) != kValuesPerBatch) return 200;
          }
          return static_cast<int>(std::min<size_t>(batches.size(), 199));
        },
        kNobody);
    EXPECT_LT(seenByNobody, 200);
    EXPECT_EQ(ReadFile(errors), "");

    // ...then root, who undoes it in place.
    const std::vector<Text> batches = Subkeys(roundKey);
    for (const Text& batch : batches)
      EXPECT_EQ(ValueCount(roundKey + u"\\" + batch), static_cast<size_t>(kValuesPerBatch)) << WideToUtf8(batch);
    EXPECT_EQ(seenByNobody, static_cast<int>(std::min<size_t>(batches.size(), 199)));
    EXPECT_EQ(IntegrityCheck(storePath), "ok");
    batchesSeen += static_cast<int>(batches.size());
  }
  EXPECT_GT(batchesSeen, 0);  // the writers got somewhere before they were killed
  EXPECT_EQ(Put(u"after", u"", u"written"), Status::Ok);
  EXPECT_EQ(Get(u"after", u""), SzBytes(u"written"));
}

// A writer killed after it began to change the file itself (here: its cache spilled
// into it) leaves a journal that only a user who may write the store can undo.
TEST_F(StoreSharingTest, AnInterruptedWriteOnlyRootCanUndoReadsAsBeforeForOtherUsers) {
  constexpr int kValues = 3000;
  {
    registry::WriteGroup group;
    registry::Key key;
    ASSERT_EQ(registry::CreateKey(u"Orvanel", key), Status::Ok);
    for (int i = 0; i < kValues; ++i)
      ASSERT_EQ(registry::SetTextValue(key, Numbered("v", i), u"before"), Status::Ok);
  }
  const pid_t writer = StartChild([&] {
    sqlite3* db = nullptr;
    sqlite3_open(storePath.c_str(), &db);
    sqlite3_exec(db,
                 "PRAGMA cache_size = 10; BEGIN IMMEDIATE;"
                 "UPDATE vals SET data = randomblob(300);",
                 nullptr, nullptr, nullptr);
    raise(SIGKILL);
    return 0;
  });
  ASSERT_EQ(WaitChild(writer), -1);
  const std::string journal = ReadFile(storePath + "-journal");
  ASSERT_FALSE(journal.empty());
  ASSERT_NE(journal[0], '\0');  // a journal that must be played back before reading

  const std::string errors = ErrorFile(dir, "stderr");
  const int result = RunInChild(
      [&] {
        RedirectStderr(errors);
        registry::Key key;
        if (registry::OpenKey(u"Orvanel", Access::Read, key) != Status::Ok) return 1;
        std::vector<registry::NamedValue> values;
        if (registry::ListValues(key, values) != Status::Ok || values.size() != kValues) return 2;
        for (const auto& value : values) {
          if (value.data != SzBytes(u"before")) return 3;
        }
        return 0;
      },
      kNobody);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ReadFile(errors), "");
  EXPECT_EQ(ReadFile(storePath + "-journal"), journal);  // left for root to undo

  EXPECT_EQ(Get(u"Orvanel", u"v0"), SzBytes(u"before"));
  EXPECT_FALSE(FileExists(storePath + "-journal"));
  EXPECT_EQ(IntegrityCheck(storePath), "ok");
}

TEST_F(StoreSharingTest, AStoreWrittenByRootIsReadableButNotWritableByOtherUsers) {
  const mode_t oldMask = umask(077);
  ASSERT_EQ(Put(u"Orvanel", u"private", u"1"), Status::Ok);
  umask(oldMask);
  const std::string before = ReadFile(storePath);

  const int result = RunInChild(
      [] {
        registry::Key key;
        if (registry::OpenKey(u"orvanel", Access::Read, key) != Status::Ok) return 1;
        char buffer[256];
        uint32_t size = sizeof buffer;
        if (registry::QueryValueNarrow(key, "private", buffer, size, nullptr) != Status::Ok ||
            std::string(buffer, size) != std::string("1\0", 2))
          return 2;
        if (registry::SetTextValue(key, u"private", u"0") != Status::AccessDenied) return 3;
        registry::Key writable;
        if (registry::OpenKey(u"Orvanel", Access::Write, writable) != Status::AccessDenied) return 4;
        if (registry::OpenKey(u"absent", Access::Write, writable) != Status::NotFound) return 5;
        if (registry::CreateKey(u"Orvanel", writable) != Status::AccessDenied) return 6;
        if (registry::CreateKey(u"new", writable) != Status::AccessDenied) return 7;
        if (registry::DeleteKey(u"Orvanel") != Status::AccessDenied) return 8;
        {
          registry::WriteGroup group;
          if (registry::OpenKey(u"Orvanel", Access::Read, key) != Status::Ok) return 9;
        }
        return 0;
      },
      kNobody);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ReadFile(storePath), before);
  EXPECT_FALSE(FileExists(storePath + "-journal"));
}

TEST_F(StoreSharingTest, ReadersAreNotStoppedByAWriteGroupInProgress) {
  ASSERT_EQ(Put(u"Orvanel", u"private", u"1"), Status::Ok);
  registry::WriteGroup group;
  ASSERT_EQ(Put(u"Orvanel", u"private", u"0"), Status::Ok);  // not yet written out
  const int result = RunInChild(
      [] {
        registry::Key key;
        char buffer[16];
        uint32_t size = sizeof buffer;
        if (registry::OpenKey(u"Orvanel", Access::Read, key) != Status::Ok ||
            registry::QueryValueNarrow(key, "private", buffer, size, nullptr) != Status::Ok)
          return 1;
        return buffer[0] == '1' ? 0 : 2;
      },
      kNobody);
  EXPECT_EQ(result, 0);
}

// Files at the store's place that are no store of ours: a clear line on standard
// error, Failed from every operation, and the file left exactly as it was.
class BadStoreTest : public RegistryFixture {
 protected:
  void SetUp() override { ASSERT_EQ(mkdir((dir / "lib").c_str(), 0755), 0); }

  // Runs reads and writes on the store; returns what they printed.
  std::string ExpectEveryOperationFails() {
    testing::internal::CaptureStderr();
    registry::Key key;
    EXPECT_EQ(registry::OpenKey(u"Orvanel", Access::Read, key), Status::Failed);
    EXPECT_EQ(registry::CreateKey(u"Orvanel", key), Status::Failed);
    EXPECT_EQ(registry::DeleteKey(u"Orvanel"), Status::Failed);
    {
      registry::WriteGroup group;
      EXPECT_EQ(Put(u"Orvanel", u"private", u"1"), Status::Failed);
    }
    return testing::internal::GetCapturedStderr();
  }
};

TEST_F(BadStoreTest, AFileThatIsNotADatabaseIsLeftAlone) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += "my notes, line " + std::to_string(i) + "\n";
  WriteFile(storePath, text);
  EXPECT_EQ(ExpectEveryOperationFails(),
            "orvanel: registry store " + storePath + ": file is not a database\n");
  EXPECT_EQ(ReadFile(storePath), text);
  EXPECT_FALSE(FileExists(storePath + "-journal"));
}

TEST_F(BadStoreTest, AnotherProgramsDatabaseIsLeftAlone) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(storePath.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE notes(text); INSERT INTO notes VALUES('keep me')",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  const std::string before = ReadFile(storePath);
  EXPECT_EQ(ExpectEveryOperationFails(),
            "orvanel: registry store " + storePath +
                ": not a registry store of Orvanel (another program's database)\n");
  EXPECT_EQ(ReadFile(storePath), before);
}

TEST_F(BadStoreTest, AFolderInPlaceOfTheStoreIsReported) {
  ASSERT_EQ(mkdir(storePath.c_str(), 0755), 0);
  EXPECT_EQ(ExpectEveryOperationFails(),
            "orvanel: registry store " + storePath + ": is a folder, not a file\n");
}

TEST_F(BadStoreTest, AStoreThisUserCannotReadIsReported) {
  ASSERT_EQ(Put(u"Orvanel", u"private", u"1"), Status::Ok);
  ASSERT_EQ(chmod(storePath.c_str(), 0600), 0);
  chmod(dir.path().c_str(), 0755);
  const std::string before = ReadFile(storePath);
  const std::string errors = ErrorFile(dir, "stderr");
  const int result = RunInChild(
      [&] {
        RedirectStderr(errors);
        registry::Key key;
        if (registry::OpenKey(u"Orvanel", Access::Read, key) != Status::Failed) return 1;
        if (registry::CreateKey(u"Orvanel", key) != Status::Failed) return 2;
        return 0;
      },
      kNobody);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ReadFile(errors),
            "orvanel: registry store " + storePath + ": Permission denied\n");
  EXPECT_EQ(ReadFile(storePath), before);
}

TEST_F(BadStoreTest, AnEmptyFileIsAnEmptyStore) {
  WriteFile(storePath, "");
  registry::Key key;
  EXPECT_EQ(registry::OpenKey(u"Orvanel", Access::Read, key), Status::NotFound);
  EXPECT_EQ(Put(u"Orvanel", u"private", u"1"), Status::Ok);
  EXPECT_EQ(Get(u"Orvanel", u"private"), SzBytes(u"1"));
}

}  // namespace
}  // namespace orvanel::test
