// In a process where no catalogue check has run, there is no remote number yet.
// A program of its own, so that no earlier check of the same process interferes.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/DataFolder.h"
#include "updates/VersionChecks.h"

namespace orvanel::test {
namespace {

TEST(FirstSaveTest, SaveBeforeAnyCheckWritesZero) {
  TempDir dir;
  mkdir((dir / "Orvanel").c_str(), 0755);
  SetProcessDataFolder(Utf8ToWide(dir / "Orvanel/"));
  WriteFile(dir / "Orvanel/data_version.txt", "12");
  ASSERT_TRUE(SaveDataVersion());
  EXPECT_EQ(ReadFile(dir / "Orvanel/data_version.txt"), "0");
}

}  // namespace
}  // namespace orvanel::test
