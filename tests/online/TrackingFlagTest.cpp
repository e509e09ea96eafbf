// Reading the tracking-off flag, value "private" of the Orvanel class key.
#include <string>

#include "CaseName.h"
#include "TrackerFixture.h"
#include "common/Utf16Le.h"
#include "online/Tracker.h"

namespace orvanel::test {
namespace {

using registry::Type;

struct FlagCase {
  const char* name;
  Type type;
  std::string bytes;  // as stored
  bool off;
};

std::string Sz(const Text& text) { return ToUtf16Le(text + u'\0'); }

class TrackingFlagTest : public TrackerFixture, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(TrackingFlagTest, ReadsTheValueAsAtoiDoes) {
  SetFlag(GetParam().type, GetParam().bytes);
  EXPECT_EQ(IsTrackingOff(), GetParam().off);
}

INSTANTIATE_TEST_SUITE_P(
    Values, TrackingFlagTest,
    ::testing::Values(
        FlagCase{"One", Type::Sz, Sz(u"1"), true},
        FlagCase{"BlanksBeforeOne", Type::Sz, Sz(u" \t1"), true},
        FlagCase{"OneThenLetters", Type::Sz, Sz(u"1abc"), true},
        FlagCase{"LeadingZero", Type::Sz, Sz(u"01"), true},
        FlagCase{"PlusOne", Type::Sz, Sz(u"+1"), true},
        FlagCase{"OneThenSpace", Type::Sz, Sz(u"1 0"), true},
        FlagCase{"Zero", Type::Sz, Sz(u"0"), false},
        FlagCase{"Empty", Type::Sz, Sz(u""), false},
        FlagCase{"Ten", Type::Sz, Sz(u"10"), false},
        FlagCase{"Two", Type::Sz, Sz(u"2"), false},
        FlagCase{"Letters", Type::Sz, Sz(u"abc"), false},
        FlagCase{"MinusOne", Type::Sz, Sz(u"-1"), false},
        FlagCase{"SignWithoutDigits", Type::Sz, Sz(u"+ 1"), false},
        // 2^32 + 1: a number that wraps around in 32 bits must not come out as 1.
        FlagCase{"HugeNumber", Type::Sz, Sz(u"4294967297"), false},
        // The type is not looked at: the stored bytes are read as text.
        FlagCase{"DwordOne", Type::Dword, std::string("\x01\x00\x00\x00", 4), false},
        FlagCase{"DwordHoldingTheCharacterOne", Type::Dword, std::string("1\0\0\0", 4), true},
        FlagCase{"BinaryOneWithoutNull", Type::Binary, "1", true},
        FlagCase{"ExpandSzOne", Type::ExpandSz, Sz(u"1"), true},
        // Too large for the 256-byte buffer: no flag that the switches write.
        FlagCase{"LongerThanTheBuffer", Type::Sz, Sz(u"1" + Text(300, u' ')), false}),
    CaseName());

TEST_F(TrackerFixture, WithoutTheKeyTrackingIsOn) { EXPECT_FALSE(IsTrackingOff()); }

TEST_F(TrackerFixture, WithoutTheValueTrackingIsOn) {
  registry::Key key;
  ASSERT_EQ(registry::CreateKey(u"Orvanel", key), registry::Status::Ok);
  ASSERT_EQ(registry::SetTextValue(key, u"", u"Orvanel"), registry::Status::Ok);
  EXPECT_FALSE(IsTrackingOff());
}

TEST_F(TrackerFixture, KeyAndValueNamesAreFoundInAnyCase) {
  registry::Key key;
  ASSERT_EQ(registry::CreateKey(u"ORVANEL", key), registry::Status::Ok);
  ASSERT_EQ(registry::SetTextValue(key, u"Private", u"1"), registry::Status::Ok);
  EXPECT_TRUE(IsTrackingOff());
}

TEST_F(TrackerFixture, TheFlagOfAnotherKeyDoesNotCount) {
  SetFlag(Type::Sz, Sz(u"1"), u"Orvanel\\shell");
  EXPECT_FALSE(IsTrackingOff());
}

}  // namespace
}  // namespace orvanel::test
