#include <gtest/gtest.h>

#include "CaseName.h"
#include "common/ProgramInfo.h"
#include "common/Text.h"
#include "platform/CodePage.h"
#include "TestSupport.h"

namespace orvanel {
namespace {

struct DecodeCase {
  const char* name;
  std::string bytes;
  Text expected;
};

class Utf8ToWideTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(Utf8ToWideTest, DecodesLikeTheSystemWithoutFlags) {
  EXPECT_EQ(Utf8ToWide(GetParam().bytes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8ToWideTest,
    testing::Values(
        DecodeCase{"empty", "", u""}, DecodeCase{"ascii", "17", u"17"},
        DecodeCase{"twoByte", "\xC3\x84" "bc", u"\u00C4bc"},
        DecodeCase{"threeByte", "\xE2\x82\xAC", u"\u20AC"},
        DecodeCase{"fourByteBecomesSurrogatePair", "\xF0\x9F\x98\x80", u"\U0001F600"},
        DecodeCase{"loneContinuationByte", "a\x80z", u"a\uFFFDz"},
        DecodeCase{"latin1Byte", "\xE9t\xE9", u"\uFFFDt\uFFFD"},
        DecodeCase{"truncatedAtEnd", "ab\xE2\x82", u"ab\uFFFD"},
        DecodeCase{"overlongNul", std::string("\xC0\x80", 2), u"\uFFFD\uFFFD"},
        DecodeCase{"encodedSurrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        DecodeCase{"aboveUnicode", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        DecodeCase{"embeddedNul", std::string("a\0b", 3), Text(u"a\0b", 3)}),
    test::CaseName());

TEST(WideToUtf8Test, RoundTripsEveryPlaneAndReplacesLoneSurrogates) {
  const Text text = u"x\u00C4\u20AC\U0001F600";
  EXPECT_EQ(Utf8ToWide(WideToUtf8(text)), text);
  EXPECT_EQ(WideToUtf8(Text(1, char16_t(0xD800)) + u"a"), "\xEF\xBF\xBD" "a");
  EXPECT_EQ(platform::WideToAnsi(u"0.2"), "0.2");
}

TEST(WidenBytesTest, EachByteBecomesTheCharacterOfTheSameValue) {
  EXPECT_EQ(WidenBytes("\xEF\xBB\xBF" "ab"), Text(u"\u00EF\u00BB\u00BF" "ab"));
}

TEST(ProgramInfoTest, VersionPublisherAndOverridableSites) {
  EXPECT_EQ(ProgramVersionText(), u"0.2");
  EXPECT_EQ(kPublisher, u"tovix");
  {
    test::ScopedEnv info("ORVANEL_INFO_SITE", std::nullopt);
    test::ScopedEnv download("ORVANEL_DOWNLOAD_SITE", std::nullopt);
    EXPECT_EQ(InfoSiteBase(), u"http://info.orvanel.example");
    EXPECT_EQ(DownloadSiteBase(), u"http://download.orvanel.example");
  }
  test::ScopedEnv info("ORVANEL_INFO_SITE", "http://127.0.0.1:8080");
  EXPECT_EQ(InfoSiteBase(), u"http://127.0.0.1:8080");
}

}  // namespace
}  // namespace orvanel
