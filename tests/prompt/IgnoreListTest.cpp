#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "prompt/IgnoreList.h"
#include "prompt/PromptState.h"

namespace orvanel {
namespace {

// A data folder of its own for each test, holding (or not) "ignore.txt".
class IgnoreListTest : public testing::Test {
 protected:
  std::string ListFile() const { return dir_ / "ignore.txt"; }
  Text DataFolder() const { return Utf8ToWide(dir_.path() + "/"); }

  // Puts the prompt on a file, as ShowPrompt does, so that IgnoreExtension takes its extension.
  void PromptFor(const Text& fileName) {
    StorePromptState(nullptr, u"/some/dir/" + fileName, DataFolder(), u'/');
  }

  void WriteList(const std::string& bytes) { test::WriteFile(ListFile(), bytes); }

  test::TempDir dir_;
};

TEST_F(IgnoreListTest, AMissingListIgnoresNothing) {
  PromptFor(u"report.xyz");
  for (const Text extension : {u"xyz", u"", u"txt"}) EXPECT_FALSE(IsExtensionIgnored(extension));
  EXPECT_FALSE(test::FileExists(ListFile()));
}

TEST_F(IgnoreListTest, IgnoringCreatesTheListWithOneCrLfLine) {
  PromptFor(u"report.xyz");
  EXPECT_TRUE(IgnoreExtension());
  EXPECT_EQ(test::ReadFile(ListFile()), "xyz\r\n");
  EXPECT_TRUE(IsExtensionIgnored(u"xyz"));
  EXPECT_FALSE(IsExtensionIgnored(u"XYZ"));
  EXPECT_FALSE(IsExtensionIgnored(u"xy"));
  EXPECT_FALSE(IsExtensionIgnored(u"xyzz"));
}

TEST_F(IgnoreListTest, EachIgnoreAddsALine) {
  PromptFor(u"report.xyz");
  IgnoreExtension();
  IgnoreExtension();
  PromptFor(u"README");
  IgnoreExtension();
  EXPECT_EQ(test::ReadFile(ListFile()), "xyz\r\nxyz\r\nreadme\r\n");
  EXPECT_TRUE(IsExtensionIgnored(u"xyz"));
  EXPECT_TRUE(IsExtensionIgnored(u"readme"));
}

TEST_F(IgnoreListTest, LinesAreComparedExactly) {
  struct Case {
    const char* list;
    Text extension;
    bool ignored;
  };
  const Case cases[] = {
      {"TXT\r\n", u"txt", false},          // written by hand: case counts
      {"abc\ndef\n", u"def", true},        // LF line ends read as well
      {"abc\r\ndef", u"def", true},        // the last line may lack its line end
      {"txt \r\n", u"txt", false},         // nothing is trimmed
      {"txt\r\r\n", u"txt", false},        // a stray CR stays part of the line
      {"txt\r\r\n", u"txt\r", true},
      {"\r\n", u"", true},                 // an empty extension is an empty line
      {"x\r\ny\r\n", u"", false},
      {"\xE9t\xE9\r\n", u"\u00E9t\u00E9", true},  // one byte per character, up to U+00FF
      {"\xC3\xA9\r\n", u"\u00E9", false},         // bytes are not decoded as UTF-8
  };
  for (const auto& c : cases) {
    WriteList(c.list);
    PromptFor(u"any.thing");
    EXPECT_EQ(IsExtensionIgnored(c.extension), c.ignored)
        << "list " << testing::PrintToString(std::string(c.list)) << ", extension "
        << testing::PrintToString(WideToUtf8(c.extension));
  }
}

TEST_F(IgnoreListTest, ALongLineIsSkippedAndTheSearchGoesOn) {
  const std::string a259(259, 'a');
  const std::string a260(260, 'a');
  WriteList(a260 + "\r\n" + std::string(5000, 'b') + "\n" + "xyz\r\n" + a259 + "\r\n");
  PromptFor(u"any.thing");
  EXPECT_TRUE(IsExtensionIgnored(u"xyz"));
  EXPECT_TRUE(IsExtensionIgnored(WidenBytes(a259)));  // the longest line still compared
  EXPECT_FALSE(IsExtensionIgnored(WidenBytes(a260)));
  EXPECT_FALSE(IsExtensionIgnored(u"b"));
}

TEST_F(IgnoreListTest, AnExtensionWithoutOneByteFormIsNotWritten) {
  for (const Text fileName : {u"a.\u20AC", u"a.x\u0100", u"a.\U0001F600", u"a.x\ny"}) {
    PromptFor(fileName);
    EXPECT_TRUE(IgnoreExtension());
    EXPECT_FALSE(test::FileExists(ListFile())) << WideToUtf8(fileName);
  }
  PromptFor(u"a.x\u00FF");
  IgnoreExtension();
  PromptFor(u"report.xyz");
  IgnoreExtension();
  EXPECT_EQ(test::ReadFile(ListFile()), "x\xFF\r\nxyz\r\n");
}

// Whatever a tick writes, the next look-up finds: otherwise the prompt comes back and
// the list grows by a line at every tick.
TEST_F(IgnoreListTest, EveryWrittenEntryIsFoundAgain) {
  struct Case {
    size_t length;
    bool written;
  };
  for (const Case c : {Case{1, true}, Case{258, true}, Case{259, true}, Case{260, false},
                       Case{5000, false}}) {
    const Text extension(c.length, u'e');
    test::WriteFile(ListFile(), "");
    PromptFor(u"file." + extension);
    IgnoreExtension();
    IgnoreExtension();
    const std::string list = test::ReadFile(ListFile());
    if (c.written) {
      EXPECT_EQ(list, std::string(c.length, 'e') + "\r\n" + std::string(c.length, 'e') + "\r\n");
      EXPECT_TRUE(IsExtensionIgnored(extension)) << c.length;
    } else {
      EXPECT_EQ(list, "") << c.length << ": a line that is never matched is not written";
    }
  }
}

TEST_F(IgnoreListTest, WithoutTheDataFolderNothingIsWrittenAndNothingIsIgnored) {
  StorePromptState(nullptr, u"/some/dir/report.xyz", Utf8ToWide(dir_ / "missing/"), u'/');
  EXPECT_TRUE(IgnoreExtension());
  EXPECT_FALSE(IsExtensionIgnored(u"xyz"));
  EXPECT_FALSE(test::FileExists(dir_ / "missing"));
}

}  // namespace
}  // namespace orvanel
