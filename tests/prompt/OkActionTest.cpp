#include <gtest/gtest.h>

#include "TestSupport.h"
#include "prompt/InfoPageAddress.h"
#include "prompt/OkAction.h"

namespace orvanel {
namespace {

TEST(PercentEncodeTest, KeepsUnreservedBytesAndEncodesEveryOtherUtf8Byte) {
  const std::pair<Text, Text> cases[] = {
      {u"pdf", u"pdf"},
      {u"", u""},
      {u"AZaz09-._~", u"AZaz09-._~"},
      {u"x#y", u"x%23y"},
      {u"x y", u"x%20y"},
      {u"x?_id=1", u"x%3F_id%3D1"},
      {u"a/b\\c", u"a%2Fb%5Cc"},
      {u"100%", u"100%25"},
      {u"\u00E4", u"%C3%A4"},
      {u"\u20AC", u"%E2%82%AC"},
      {u"\U0001F600", u"%F0%9F%98%80"},
  };
  for (const auto& [extension, encoded] : cases) {
    EXPECT_EQ(PercentEncode(extension), encoded) << WideToUtf8(extension);
  }
}

TEST(InfoPageAddressTest, JoinsBaseKindExtensionPublisherAndQuery) {
  test::ScopedEnv site("ORVANEL_INFO_SITE", "http://info.test");
  EXPECT_EQ(InfoPageAddress(kSearchPageKind, u"pdf", u"?_id=0123"),
            u"http://info.test/type/pdf/tovix?_id=0123");
  EXPECT_EQ(InfoPageAddress(kAboutPageKind, u"pdf", u""), u"http://info.test/extension/pdf/tovix");
  EXPECT_EQ(InfoPageAddress(kSearchPageKind, u"", u""), u"http://info.test/type//tovix");
  EXPECT_EQ(InfoPageAddress(kAboutPageKind, u"x#y", u""),
            u"http://info.test/extension/x%23y/tovix");
}

struct DecisionCase {
  const char* name;
  platform::ui::PromptAnswer answer;
  OkAction::Kind kind;
  Text address;
};

TEST(DecideOkActionTest, TheBoxWinsElseTheChoiceDecides) {
  test::ScopedEnv site("ORVANEL_INFO_SITE", "http://info.test");
  const Text query = u"?_id=0123456789abcdef0123456789abcdef";
  const DecisionCase cases[] = {
      {"nothing changed", {true, 1, false}, OkAction::Kind::OpenPage,
       u"http://info.test/type/xyz/tovix" + query},
      {"choice 2", {true, 2, false}, OkAction::Kind::OpenPage,
       u"http://info.test/extension/xyz/tovix" + query},
      {"choice 3", {true, 3, false}, OkAction::Kind::OpenWith, u""},
      {"box with choice 1", {true, 1, true}, OkAction::Kind::Ignore, u""},
      {"box with choice 2", {true, 2, true}, OkAction::Kind::Ignore, u""},
      {"box with choice 3", {true, 3, true}, OkAction::Kind::Ignore, u""},
      {"no choice selected", {true, 0, false}, OkAction::Kind::Nothing, u""},
  };
  for (const auto& c : cases) {
    const OkAction action = DecideOkAction(c.answer, u"xyz", query);
    EXPECT_EQ(action.kind, c.kind) << c.name;
    EXPECT_EQ(action.address, c.address) << c.name;
  }
}

TEST(DecideOkActionTest, WithTrackingOffTheAddressesEndInThePublisherWord) {
  test::ScopedEnv site("ORVANEL_INFO_SITE", "http://info.test");
  EXPECT_EQ(DecideOkAction({true, 1, false}, u"", u"").address, u"http://info.test/type//tovix");
  EXPECT_EQ(DecideOkAction({true, 2, false}, u"x y", u"").address,
            u"http://info.test/extension/x%20y/tovix");
}

}  // namespace
}  // namespace orvanel
