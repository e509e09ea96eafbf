#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "CaseName.h"
#include "common/DecimalNumber.h"

namespace orvanel {
namespace {

struct NumberCase {
  const char* name;
  std::u16string text;
  int32_t value;
};

class NumberParsingTest : public testing::TestWithParam<NumberCase> {};

TEST_P(NumberParsingTest, ReadsLikeTheRuntimesBaseTenConversion) {
  EXPECT_EQ(ParseDecimal(GetParam().text), GetParam().value);
}

const std::u16string k300Nines(300, u'9');

INSTANTIATE_TEST_SUITE_P(
    Texts, NumberParsingTest,
    testing::Values(NumberCase{"Empty", u"", 0}, NumberCase{"Plain", u"12", 12},
                    NumberCase{"LineEndAfter", u"12\r\n", 12},
                    NumberCase{"EveryLeadingBlankSkipped", u" \t\n\v\f\r12", 12},
                    NumberCase{"PlusSign", u"+7", 7}, NumberCase{"MinusSign", u"-5", -5},
                    NumberCase{"BlankAfterSignIsNoNumber", u"- 5", 0},
                    NumberCase{"SignAlone", u"-", 0}, NumberCase{"TwoSigns", u"+-3", 0},
                    NumberCase{"StopsAtFirstNonDigit", u"12abc", 12},
                    NumberCase{"StopsAtFullStop", u"0.3", 0},
                    NumberCase{"MarkupIsNoNumber", u"<html>404</html>", 0},
                    NumberCase{"ManyLeadingZeros", u"00000000000000000000000000012", 12},
                    NumberCase{"LargestValue", u"2147483647", 2147483647},
                    NumberCase{"JustAboveClamps", u"2147483648", 2147483647},
                    NumberCase{"SmallestValue", u"-2147483648", INT32_MIN},
                    NumberCase{"JustBelowClamps", u"-2147483649", INT32_MIN},
                    NumberCase{"ThreeHundredDigitsClampHigh", k300Nines, 2147483647},
                    NumberCase{"ThreeHundredDigitsClampLow", u"-" + k300Nines, INT32_MIN}),
    test::CaseName());

}  // namespace
}  // namespace orvanel
