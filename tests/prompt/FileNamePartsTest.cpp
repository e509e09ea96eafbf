#include <gtest/gtest.h>

#include "CaseName.h"
#include "prompt/FileNameParts.h"
#include "prompt/PromptState.h"

namespace orvanel {
namespace {

struct SplitCase {
  const char* name;
  Text path;  // written with '\' as the separator, as on Windows
  Text fileName;
  Text extension;
};

const SplitCase kSplitCases[] = {
    {"TwoDots", u"C:\\Docs\\Archive.tar.GZ", u"Archive.tar.GZ", u"gz"},
    {"NoDot", u"C:\\Docs\\README", u"README", u"readme"},
    {"DotInFolderName", u"C:\\Docs.old\\notes", u"notes", u"notes"},
    {"FinalDot", u"C:\\Docs\\report.", u"report.", u""},
    {"LeadingDot", u"C:\\Docs\\.profile", u".profile", u"profile"},
    {"OtherSlashIsOrdinary", u"C:/Docs/a.txt", u"C:/Docs/a.txt", u"txt"},
    {"NonAsciiExtension", u"C:\\Docs\\x.\u00C4BC", u"x.\u00C4BC", u"\u00C4bc"},
    {"NonAsciiNameWithoutDot", u"C:\\Docs\\\u00C4BC", u"\u00C4BC", u"\u00C4bc"},
    {"TrailingSeparator", u"C:\\Docs\\", u"", u""},
    {"NoSeparator", u"report.XYZ", u"report.XYZ", u"xyz"},
    {"EmptyPath", u"", u"", u""},
};

// The same case for a system whose separator is '/': the two slashes trade places.
Text WithSlashSeparator(Text text) {
  for (auto& c : text) {
    if (c == u'\\') {
      c = u'/';
    } else if (c == u'/') {
      c = u'\\';
    }
  }
  return text;
}

class SplitTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, WithBackslashSeparator) {
  const SplitCase& c = GetParam();
  const Text fileName = FileNameOf(c.path, u'\\');
  EXPECT_EQ(fileName, c.fileName);
  EXPECT_EQ(ExtensionOf(fileName), c.extension);
}

TEST_P(SplitTest, WithSlashSeparator) {
  const SplitCase& c = GetParam();
  const Text fileName = FileNameOf(WithSlashSeparator(c.path), u'/');
  EXPECT_EQ(fileName, WithSlashSeparator(c.fileName));
  EXPECT_EQ(ExtensionOf(fileName), WithSlashSeparator(c.extension));
}

TEST_P(SplitTest, StoredInThePromptState) {
  const SplitCase& c = GetParam();
  const PromptState& state = StorePromptState(nullptr, c.path, u"/data/Orvanel/", u'\\');
  EXPECT_EQ(&state, &CurrentPromptState());
  EXPECT_EQ(state.filePath, c.path);
  EXPECT_EQ(state.fileName, c.fileName);
  EXPECT_EQ(state.extension, c.extension);
  EXPECT_EQ(state.dataFolder, u"/data/Orvanel/");
}

// Readable test names and failure messages for the cases.
void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }

INSTANTIATE_TEST_SUITE_P(PromptFileNames, SplitTest, testing::ValuesIn(kSplitCases),
                         test::CaseName());

TEST(LowerAsciiLettersTest, ChangesOnlyATozWhateverTheNeighbours) {
  // '@' and '[' border A to Z; the rest are letters with case outside ASCII.
  EXPECT_EQ(LowerAsciiLetters(u"@AZ[`az{"), u"@az[`az{");
  EXPECT_EQ(LowerAsciiLetters(u"\u00C0\u00C9\u0130\u03A3\uFF21"),
            u"\u00C0\u00C9\u0130\u03A3\uFF21");
  EXPECT_EQ(LowerAsciiLetters(u"TxT\u00C4"), u"txt\u00C4");
}

}  // namespace
}  // namespace orvanel
