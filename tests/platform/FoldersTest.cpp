#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "platform/System.h"
#include "platform/posix/Folders.h"

namespace orvanel::platform {
namespace {

TEST(MakeFoldersTest, MakesTheMissingParentsFirstAndReportsOnlyWhatItMade) {
  test::TempDir dir;
  std::vector<std::string> made;
  const auto record = [&made](const std::string& folder) { made.push_back(folder); };
  EXPECT_EQ(posix::MakeFolders(dir / "a/b/c/", 0700, record), 0);
  EXPECT_EQ(made, (std::vector<std::string>{dir / "a", dir / "a/b", dir / "a/b/c"}));
  struct stat info {};
  ASSERT_EQ(stat((dir / "a/b/c").c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));

  made.clear();
  EXPECT_EQ(posix::MakeFolders(dir / "a/b", 0700, record), 0) << "an existing folder is fine";
  EXPECT_TRUE(made.empty());
}

TEST(MakeFoldersTest, AFileInTheWayIsAnError) {
  test::TempDir dir;
  test::WriteFile(dir / "file", "x");
  const auto ignore = [](const std::string&) {};
  EXPECT_EQ(posix::MakeFolders(dir / "file", 0755, ignore), ENOTDIR);
  EXPECT_EQ(posix::MakeFolders(dir / "file/below", 0755, ignore), ENOTDIR);
}

TEST(EnsureFolderTest, MakesTheDataFolderWithItsParents) {
  test::TempDir dir;
  EXPECT_TRUE(EnsureFolder(Utf8ToWide(dir / "data/Orvanel/")));
  EXPECT_TRUE(test::FileExists(dir / "data/Orvanel"));
  test::WriteFile(dir / "plain", "x");
  EXPECT_FALSE(EnsureFolder(Utf8ToWide(dir / "plain/Orvanel/")));
}

}  // namespace
}  // namespace orvanel::platform
