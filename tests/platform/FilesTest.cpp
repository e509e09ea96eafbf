#include <gtest/gtest.h>

#include <sys/stat.h>

#include "TestSupport.h"
#include "platform/Files.h"

namespace orvanel::platform {
namespace {

TEST(OpenFileTest, AFolderCannotBeOpenedAsAFile) {
  test::TempDir dir;
  mkdir((dir / "extensions.txt").c_str(), 0755);
  EXPECT_EQ(OpenFile(Utf8ToWide(dir / "extensions.txt"), "rb"), nullptr);
}

TEST(OpenFileTest, OpensNamesWithNonAsciiCharacters) {
  test::TempDir dir;
  test::WriteFile(dir / "\xC3\xA4.txt", "x");
  std::FILE* file = OpenFile(Utf8ToWide(dir / "\xC3\xA4.txt"), "rb");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(std::fgetc(file), 'x');
  std::fclose(file);
}

TEST(ReplaceFileTest, PutsTheNewFileInPlaceOfTheOldOne) {
  test::TempDir dir;
  test::WriteFile(dir / "tmp_file", "new");
  test::WriteFile(dir / "target", "old");
  EXPECT_TRUE(ReplaceFile(Utf8ToWide(dir / "tmp_file"), Utf8ToWide(dir / "target")));
  EXPECT_EQ(test::ReadFile(dir / "target"), "new");
  EXPECT_FALSE(test::FileExists(dir / "tmp_file"));
  EXPECT_FALSE(ReplaceFile(Utf8ToWide(dir / "missing"), Utf8ToWide(dir / "target")));
  EXPECT_EQ(test::ReadFile(dir / "target"), "new");
}

}  // namespace
}  // namespace orvanel::platform
