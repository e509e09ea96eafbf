#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <string>

#include "CaseName.h"
#include "StoreFixture.h"
#include "associations/Associator.h"
#include "associations/Unregistration.h"

namespace orvanel::test {
namespace {

const char kFailureLine[] = "Error: One or more unassociations failed\n";

class UnregistrationTest : public StoreFixture {
 protected:
  UnregistrationTest() : frontend_("ORVANEL_FRONTEND", "terminal") {}

  // Registers everything, as install does, for the catalogue written so far.
  void Install() {
    platform::InstanceHandle instance = platform::ProgramInstance();
    Associator associator(u"/opt/Orvanel/orvanel", instance, DataFolder());
    ASSERT_TRUE(associator.AddOpenWithVerb());
    ASSERT_TRUE(associator.RegisterProgId());
    associator.AssociateCatalogue();
  }

  // UnassociateAll with what it wrote to standard error.
  bool Uninstall(std::string& messages) {
    testing::internal::CaptureStderr();
    const bool result = UnassociateAll(DataFolder());
    messages = testing::internal::GetCapturedStderr();
    return result;
  }

  ScopedEnv frontend_;
};

TEST_F(UnregistrationTest, RemovesWhatInstallWroteAndLeavesTheExtensionKeys) {
  WriteCatalogue("extensions\nabc\nxyz\n");
  Install();

  std::string messages;
  EXPECT_TRUE(Uninstall(messages));
  EXPECT_EQ(messages, "");

  for (const char16_t* gone : {u"*\\shell\\Open with\\command", u"*\\shell\\Open with", u"Orvanel",
                               u"Applications\\Orvanel"}) {
    EXPECT_FALSE(KeyExists(gone)) << WideToUtf8(gone);
  }
  // Parents that others share stay.
  EXPECT_TRUE(KeyExists(u"*\\shell"));
  EXPECT_TRUE(KeyExists(u"Applications"));
  for (const char16_t* key : {u".abc", u".xyz"}) {
    EXPECT_EQ(Value(key), Sz(u"")) << WideToUtf8(key);
    EXPECT_TRUE(KeyExists(Text(key) + u"\\OpenWithProgids")) << WideToUtf8(key);
    EXPECT_FALSE(Value(Text(key) + u"\\OpenWithProgids", u"Orvanel").has_value())
        << WideToUtf8(key);
  }
}

TEST_F(UnregistrationTest, SecondUninstallFindsNothingAndSucceedsQuietly) {
  WriteCatalogue("abc\n");
  Install();
  std::string messages;
  ASSERT_TRUE(Uninstall(messages));
  EXPECT_TRUE(Uninstall(messages));
  EXPECT_EQ(messages, "");
  EXPECT_EQ(Value(u".abc"), Sz(u""));
  EXPECT_FALSE(KeyExists(u"Orvanel"));
}

TEST_F(UnregistrationTest, MissingCatalogueIsShownAndTheExtensionsStayPointedAtTheClass) {
  WriteCatalogue("abc\n");
  Install();
  std::remove((dir_ / "extensions.txt").c_str());

  std::string messages;
  EXPECT_TRUE(Uninstall(messages));
  EXPECT_EQ(messages, kFailureLine);
  EXPECT_FALSE(KeyExists(u"Orvanel"));
  EXPECT_FALSE(KeyExists(u"Applications\\Orvanel"));
  EXPECT_FALSE(KeyExists(u"*\\shell\\Open with\\command"));
  EXPECT_EQ(Value(u".abc"), Sz(u"Orvanel"));
  EXPECT_EQ(Value(u".abc\\OpenWithProgids", u"Orvanel"), Sz(u""));
  EXPECT_FALSE(UnassociateCatalogue(DataFolder()));
}

// One extension key prepared as someone may have left it, then uninstalled.
struct RemovalCase {
  const char* name;
  std::function<void()> prepare;
  std::optional<StoredValue> expected;  // default value afterwards
};

void PrintTo(const RemovalCase& c, std::ostream* os) { *os << c.name; }

class UnassociateExtensionTest : public UnregistrationTest,
                                 public testing::WithParamInterface<RemovalCase> {};

TEST_P(UnassociateExtensionTest, EmptiesOnlyTheExactClassNameAndAlwaysDelistsTheClass) {
  GetParam().prepare();
  SetText(u".xyz\\OpenWithProgids", u"Orvanel", u"");
  SetText(u".xyz\\OpenWithProgids", u"xyzfile", u"");
  WriteCatalogue("xyz\n");

  EXPECT_TRUE(UnassociateCatalogue(DataFolder()));

  EXPECT_EQ(Value(u".xyz"), GetParam().expected);
  EXPECT_FALSE(Value(u".xyz\\OpenWithProgids", u"Orvanel").has_value());
  EXPECT_EQ(Value(u".xyz\\OpenWithProgids", u"xyzfile"), Sz(u""));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UnassociateExtensionTest,
    testing::Values(
        RemovalCase{"ours", [] { SetText(u".xyz", u"", u"Orvanel"); }, Sz(u"")},
        RemovalCase{"otherClass", [] { SetText(u".xyz", u"", u"xyzfile"); }, Sz(u"xyzfile")},
        RemovalCase{"differsInCase", [] { SetText(u".xyz", u"", u"orvanel"); }, Sz(u"orvanel")},
        RemovalCase{"trailingBlank", [] { SetText(u".xyz", u"", u"Orvanel "); }, Sz(u"Orvanel ")},
        RemovalCase{"alreadyEmpty", [] { SetText(u".xyz", u"", u""); }, Sz(u"")},
        RemovalCase{"tooLongForTheBuffer",
                    [] { SetText(u".xyz", u"", u"Orvanel" + Text(130, u'n')); },
                    Sz(u"Orvanel" + Text(130, u'n'))},
        RemovalCase{"absent", [] { MakeKey(u".xyz"); }, std::nullopt}),
    CaseName());

TEST_F(UnregistrationTest, ExtensionWithoutKeyGetsNoKeys) {
  WriteCatalogue("nokey\nabc\n");
  SetText(u".abc", u"", u"Orvanel");
  EXPECT_TRUE(UnassociateCatalogue(DataFolder()));
  EXPECT_FALSE(KeyExists(u".nokey"));
  EXPECT_FALSE(KeyExists(u".abc\\OpenWithProgids"));
  EXPECT_EQ(Value(u".abc"), Sz(u""));
}

// Unregistration does not consult the exclusion list, and skips lines that would
// name other keys, as registration does.
TEST_F(UnregistrationTest, FollowsTheCatalogueLinesOnly) {
  SetText(u".exe", u"", u"Orvanel");
  SetText(u".x\\shell", u"", u"Orvanel");
  WriteCatalogue("exe\nx\\shell\n");
  EXPECT_TRUE(UnassociateCatalogue(DataFolder()));
  EXPECT_EQ(Value(u".exe"), Sz(u""));
  EXPECT_EQ(Value(u".x\\shell"), Sz(u"Orvanel"));
}

TEST_F(UnregistrationTest, SomeoneElsesVerbKeepsTheClassAlive) {
  WriteCatalogue("abc\n");
  Install();
  SetText(u"Orvanel", u"private", u"1");
  SetText(u"Orvanel\\shell\\print\\command", u"", u"print it");

  std::string messages;
  EXPECT_TRUE(Uninstall(messages));

  EXPECT_EQ(Value(u"Orvanel"), Sz(u"Orvanel"));
  EXPECT_EQ(Value(u"Orvanel", u"private"), Sz(u"1"));
  EXPECT_TRUE(KeyExists(u"Orvanel\\shell"));
  EXPECT_EQ(Value(u"Orvanel\\shell\\print\\command"), Sz(u"print it"));
  EXPECT_FALSE(KeyExists(u"Orvanel\\shell\\open"));
  EXPECT_FALSE(KeyExists(u"Orvanel\\DefaultIcon"));
  EXPECT_FALSE(KeyExists(u"Applications\\Orvanel"));
}

TEST_F(UnregistrationTest, VerbKeyStaysWhileItHoldsSomeoneElsesKey) {
  WriteCatalogue("abc\n");
  Install();
  MakeKey(u"*\\shell\\Open with\\DropTarget");

  EXPECT_TRUE(RemoveOpenWithVerb());

  EXPECT_FALSE(KeyExists(u"*\\shell\\Open with\\command"));
  EXPECT_EQ(Value(u"*\\shell\\Open with"), Sz(u"Open with"));
  EXPECT_TRUE(KeyExists(u"*\\shell\\Open with\\DropTarget"));
}

TEST_F(UnregistrationTest, RemovesTheAllFilesOrvanelVerb) {
  SetText(u"*\\shell\\Orvanel", u"", u"Orvanel");
  EXPECT_TRUE(RemoveOpenWithVerb());
  EXPECT_FALSE(KeyExists(u"*\\shell\\Orvanel"));
}

}  // namespace
}  // namespace orvanel::test
