#include <gtest/gtest.h>

#include "app/Locations.h"
#include "platform/DataFolder.h"
#include "TestSupport.h"

namespace orvanel {
namespace {

TEST(DataFolderPathTest, IsTheDataHomeFollowedByOrvanelAndASeparatorWhetherOrNotItExists) {
  test::ScopedEnv dataHome("XDG_DATA_HOME", "/nowhere/data");
  EXPECT_EQ(DataFolderPath(), u"/nowhere/data/Orvanel/");
  EXPECT_EQ(DataFolderPath() + u"ignore.txt", u"/nowhere/data/Orvanel/ignore.txt");
}

TEST(DataFolderPathTest, FallsBackToTheHomeFolderWithoutDataHome) {
  test::ScopedEnv dataHome("XDG_DATA_HOME", std::nullopt);
  test::ScopedEnv home("HOME", "/home/someone");
  EXPECT_EQ(DataFolderPath(), u"/home/someone/.local/share/Orvanel/");
}

TEST(ModulePathTest, IsTheRunningExecutable) {
  const Text path = ModulePath();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.front(), u'/');
  EXPECT_NE(path.find(u"common_tests"), Text::npos);
}

}  // namespace
}  // namespace orvanel
