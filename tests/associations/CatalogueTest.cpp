#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CaseName.h"
#include "TestSupport.h"
#include "associations/Catalogue.h"

namespace orvanel {
namespace {

using namespace std::string_literals;

// Reads a catalogue written from `bytes` in a fresh data folder.
struct CatalogueReading {
  bool result = false;
  std::vector<Text> extensions;
};

CatalogueReading ReadCatalogue(const std::string& bytes) {
  test::TempDir dir;
  test::WriteFile(dir / "extensions.txt", bytes);
  CatalogueReading reading;
  reading.result = ForEachCatalogueExtension(
      Utf8ToWide(dir.path() + "/"), [&](const Text& e) { reading.extensions.push_back(e); });
  return reading;
}

struct CatalogueCase {
  const char* name;
  std::string bytes;
  std::vector<Text> expected;
};

void PrintTo(const CatalogueCase& c, std::ostream* os) { *os << c.name; }

class CatalogueLinesTest : public testing::TestWithParam<CatalogueCase> {};

TEST_P(CatalogueLinesTest, HandsOnTheExtensionsInFileOrder) {
  const CatalogueReading reading = ReadCatalogue(GetParam().bytes);
  EXPECT_TRUE(reading.result);
  EXPECT_EQ(reading.extensions, GetParam().expected);
}

const std::string k259(259, 'a');
const std::string k260(260, 'b');
const std::string k300(300, 'c');

INSTANTIATE_TEST_SUITE_P(
    Cases, CatalogueLinesTest,
    testing::Values(
        CatalogueCase{"empty", "", {}}, CatalogueCase{"headerOnly", "extensions\n", {}},
        CatalogueCase{"headerAnywhereAndCaseSensitive",
                      "extensions\nxyz\nextensions\nExtensions\n",
                      {u"xyz", u"Extensions"}},
        CatalogueCase{"lineFeeds", "abc\nxyz\n", {u"abc", u"xyz"}},
        CatalogueCase{"carriageReturnLineFeeds", "abc\r\nxyz\r\n", {u"abc", u"xyz"}},
        CatalogueCase{"headerWithCrLf", "extensions\r\nabc\r\n", {u"abc"}},
        CatalogueCase{"lastLineWithoutEnd", "abc\nxyz", {u"abc", u"xyz"}},
        CatalogueCase{"emptyLinesSkipped", "\n\nabc\n\r\n\nxyz\n\n", {u"abc", u"xyz"}},
        CatalogueCase{"nothingTrimmed", " abc\nx y \n.dot\n", {u" abc", u"x y ", u".dot"}},
        CatalogueCase{"repeatedLineHandedOnAgain", "abc\nabc\n", {u"abc", u"abc"}},
        CatalogueCase{"bytesWidenedOneForOne", "\xE9t\xFF\n", {Text{u'\u00E9', u't', u'\u00FF'}}},
        CatalogueCase{"byteOrderMarkIsPartOfTheFirstLine",
                      "\xEF\xBB\xBF"
                      "extensions\nabc\n",
                      {Text{u'\u00EF', u'\u00BB', u'\u00BF'} + u"extensions", u"abc"}},
        CatalogueCase{
            "lineOf259BytesWholeAndReadingGoesOn", k259 + "\nxyz\n", {WidenBytes(k259), u"xyz"}},
        CatalogueCase{"lineOf259BytesWithCrLf", k259 + "\r\nxyz\r\n", {WidenBytes(k259), u"xyz"}},
        CatalogueCase{"lastLineOf259Bytes", "xyz\n" + k259, {u"xyz", WidenBytes(k259)}},
        CatalogueCase{"lineOf260BytesSkippedWhole", "abc\n" + k260 + "\nxyz\n", {u"abc", u"xyz"}},
        CatalogueCase{"lineOf260BytesWithCrLfSkippedWhole", k260 + "\r\nxyz\r\n", {u"xyz"}},
        CatalogueCase{"lineOf300BytesSkippedAndReadingGoesOn", k300 + "\nxyz\n" + k300, {u"xyz"}},
        CatalogueCase{"backslashSkipped",
                      "abc\n..\\Orvanel\nx\\shell\\open\\command\n\\\nxyz\n",
                      {u"abc", u"xyz"}},
        CatalogueCase{"controlCharactersSkipped",
                      "a\tb\nnul\0x\nd\x7Fl\nc1\x85x\nbare\rcr\nxyz\n"s,
                      {u"xyz"}},
        CatalogueCase{
            "onlyACarriageReturnBeforeALineFeedIsDropped", "abc\r\r\ngood\r\nxyz\r", {u"good"}},
        CatalogueCase{"slashesAndDotsAreText", "tar.gz\na/b\n..\n", {u"tar.gz", u"a/b", u".."}}),
    test::CaseName());

TEST(CatalogueTest, LongCatalogueIsReadToTheEnd) {
  std::string bytes = "extensions\n";
  for (int i = 0; i < 20000; ++i) bytes += "e" + std::to_string(i) + "\r\n";
  const CatalogueReading reading = ReadCatalogue(bytes);
  EXPECT_TRUE(reading.result);
  ASSERT_EQ(reading.extensions.size(), 20000u);
  EXPECT_EQ(reading.extensions.front(), u"e0");
  EXPECT_EQ(reading.extensions[8191], u"e8191");
  EXPECT_EQ(reading.extensions.back(), u"e19999");
}

TEST(CatalogueTest, MissingFileOrFolderGivesFalseWithoutCallingTheStep) {
  test::TempDir dir;
  int calls = 0;
  const auto count = [&](const Text&) { ++calls; };
  EXPECT_FALSE(ForEachCatalogueExtension(Utf8ToWide(dir.path() + "/"), count));
  EXPECT_FALSE(ForEachCatalogueExtension(Utf8ToWide(dir.path() + "/missing/"), count));
  EXPECT_EQ(calls, 0);
}

TEST(CatalogueTest, FileNameIsAppendedToTheDataFolderDirectly) {
  test::TempDir dir;
  test::WriteFile(dir / "Orvanelextensions.txt", "abc\n");
  std::vector<Text> extensions;
  EXPECT_TRUE(ForEachCatalogueExtension(Utf8ToWide(dir / "Orvanel"),
                                        [&](const Text& e) { extensions.push_back(e); }));
  EXPECT_EQ(extensions, std::vector<Text>{u"abc"});
}

}  // namespace
}  // namespace orvanel
