#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "CaseName.h"
#include "StoreFixture.h"
#include "associations/Associator.h"

namespace orvanel::test {
namespace {

namespace registry = platform::registry;

const Text kModule = u"/opt/Orvanel/orvanel";
const Text kCommand = u"\"/opt/Orvanel/orvanel\" \"%1\"";

class RegistrationTest : public StoreFixture {
 protected:
  Associator MakeAssociator(const Text& modulePath = kModule) {
    return Associator(modulePath, instance_, DataFolder());
  }

  platform::InstanceHandle instance_ = platform::ProgramInstance();
};

TEST_F(RegistrationTest, AddOpenWithVerbWritesTheAllFilesVerbAndItsCommand) {
  EXPECT_TRUE(MakeAssociator().AddOpenWithVerb());
  EXPECT_EQ(Value(u"*\\shell\\Open with"), Sz(u"Open with"));
  EXPECT_EQ(Value(u"*\\shell\\Open with\\command"), Sz(kCommand));
  EXPECT_FALSE(KeyExists(u"Orvanel"));
}

TEST_F(RegistrationTest, RegisterProgIdWritesTheClassItsIconAndBothOpenCommands) {
  EXPECT_TRUE(MakeAssociator().RegisterProgId());
  EXPECT_EQ(Value(u"Orvanel"), Sz(u"Orvanel"));
  EXPECT_EQ(Value(u"Applications\\Orvanel\\shell\\open\\command"), Sz(kCommand));
  EXPECT_EQ(Value(u"Orvanel\\DefaultIcon"), Sz(u"@%SystemRoot%\\System32\\shell32.dll, 1"));
  EXPECT_EQ(Value(u"Orvanel\\shell\\open\\command"), Sz(kCommand));
  EXPECT_FALSE(KeyExists(u"*"));
}

TEST_F(RegistrationTest, RegisteringAgainKeepsTheClassOwnValues) {
  SetText(u"Orvanel", u"private", u"1");
  EXPECT_TRUE(MakeAssociator().RegisterProgId());
  EXPECT_TRUE(MakeAssociator().RegisterProgId());
  EXPECT_EQ(Value(u"Orvanel", u"private"), Sz(u"1"));
  EXPECT_EQ(Value(u"Orvanel"), Sz(u"Orvanel"));
}

struct ModulePathCase {
  const char* name;
  size_t length;  // characters of the module path
  bool written;
};

void PrintTo(const ModulePathCase& c, std::ostream* os) { *os << c.name; }

class ModulePathTest : public RegistrationTest,
                       public testing::WithParamInterface<ModulePathCase> {};

// The open command is seven characters longer than the module path and must fit
// 259 characters; what does not fit is refused before anything is written.
TEST_P(ModulePathTest, CommandIsWrittenWholeOrNotAtAll) {
  const Text modulePath = GetParam().length ? u"/" + Text(GetParam().length - 1, u'p') : Text();
  Associator associator = MakeAssociator(modulePath);

  EXPECT_EQ(associator.AddOpenWithVerb(), GetParam().written);
  // The install never gets this far with an empty module path.
  if (!modulePath.empty()) {
    EXPECT_EQ(associator.RegisterProgId(), GetParam().written);
  }

  const Text command = u"\"" + modulePath + u"\" \"%1\"";
  if (GetParam().written) {
    EXPECT_EQ(Value(u"*\\shell\\Open with\\command"), Sz(command));
    EXPECT_EQ(Value(u"Orvanel\\shell\\open\\command"), Sz(command));
  } else {
    EXPECT_FALSE(KeyExists(u"*"));
    if (!modulePath.empty()) {
      EXPECT_FALSE(KeyExists(u"Orvanel"));
      EXPECT_FALSE(KeyExists(u"Applications"));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ModulePathTest,
                         testing::Values(ModulePathCase{"empty", 0, false},
                                         ModulePathCase{"short", 20, true},
                                         ModulePathCase{"longestThatFits", 252, true},
                                         ModulePathCase{"oneTooLong", 253, false},
                                         ModulePathCase{"longestFromTheSystem", 259, false}),
                         CaseName());

// One catalogue line against one prepared extension key.
struct ExtensionCase {
  const char* name;
  const char* line;
  std::function<void()> prepare;
  const char16_t* key;                  // the extension key looked at afterwards
  std::optional<StoredValue> expected;  // its default value afterwards; nullopt: no value
  bool listed;                          // "Orvanel" among its OpenWithProgids afterwards
};

void PrintTo(const ExtensionCase& c, std::ostream* os) { *os << c.name; }

class AssociateExtensionTest : public RegistrationTest,
                               public testing::WithParamInterface<ExtensionCase> {};

TEST_P(AssociateExtensionTest, TakesOverOnlyWhatNothingHandles) {
  const ExtensionCase& c = GetParam();
  if (c.prepare) c.prepare();
  WriteCatalogue(std::string("extensions\n") + c.line + "\n");

  EXPECT_TRUE(MakeAssociator().AssociateCatalogue());

  EXPECT_EQ(Value(c.key), c.expected);
  const Text progids = Text(c.key) + u"\\OpenWithProgids";
  if (c.listed) {
    EXPECT_EQ(Value(progids, u"Orvanel"), Sz(u""));
  } else {
    EXPECT_FALSE(KeyExists(progids));
  }
}

StoredValue DwordOne() { return {registry::Type::Dword, std::string("\x01\x00\x00\x00", 4)}; }

INSTANTIATE_TEST_SUITE_P(
    Cases, AssociateExtensionTest,
    testing::Values(
        ExtensionCase{"noKey", "xyz", nullptr, u".xyz", Sz(u"Orvanel"), true},
        ExtensionCase{"emptyDefault", "xyz", [] { SetText(u".xyz", u"", u""); }, u".xyz",
                      Sz(u"Orvanel"), true},
        ExtensionCase{"absentDefault", "xyz", [] { SetText(u".xyz", u"Content Type", u"text/x"); },
                      u".xyz", Sz(u"Orvanel"), true},
        ExtensionCase{"otherClass", "xyz", [] { SetText(u".xyz", u"", u"xyzfile"); }, u".xyz",
                      Sz(u"xyzfile"), true},
        ExtensionCase{"ownClassAlready", "xyz", [] { SetText(u".xyz", u"", u"Orvanel"); }, u".xyz",
                      Sz(u"Orvanel"), true},
        ExtensionCase{"longestDefaultThatFits", "xyz",
                      [] { SetText(u".xyz", u"", Text(129, u'n')); }, u".xyz", Sz(Text(129, u'n')),
                      true},
        ExtensionCase{"defaultTooLongForTheBuffer", "xyz",
                      [] { SetText(u".xyz", u"", Text(130, u'n')); }, u".xyz", Sz(Text(130, u'n')),
                      true},
        ExtensionCase{"defaultNotText", "xyz",
                      [] {
                        registry::Key key;
                        registry::CreateKey(u".xyz", key);
                        const StoredValue one = DwordOne();
                        registry::SetValue(key, u"", one.type, one.bytes.data(), 4);
                      },
                      u".xyz", DwordOne(), true},
        ExtensionCase{"excludedNotTouched", "exe", nullptr, u".exe", std::nullopt, false},
        ExtensionCase{"excludedExistingNotTouched", "vb", [] { SetText(u".vb", u"", u""); }, u".vb",
                      Sz(u""), false},
        ExtensionCase{"upperCaseOpensTheLowerCaseKey", "EXE",
                      [] { SetText(u".exe", u"", u"exefile"); }, u".exe", Sz(u"exefile"), true},
        ExtensionCase{"upperCaseWithoutKey", "XYZ", nullptr, u".xyz", Sz(u"Orvanel"), true}),
    CaseName());

TEST_F(RegistrationTest, OtherOpenWithProgramsOfAnExtensionStay) {
  SetText(u".xyz\\OpenWithProgids", u"xyzfile", u"");
  WriteCatalogue("xyz\n");
  EXPECT_TRUE(MakeAssociator().AssociateCatalogue());
  EXPECT_EQ(Value(u".xyz\\OpenWithProgids", u"xyzfile"), Sz(u""));
  EXPECT_EQ(Value(u".xyz\\OpenWithProgids", u"Orvanel"), Sz(u""));
}

TEST_F(RegistrationTest, MissingCatalogueFailsWithoutWriting) {
  EXPECT_FALSE(MakeAssociator().AssociateCatalogue());
  EXPECT_FALSE(Value(u".xyz").has_value());
}

// A key name holds at most 255 characters, so ".<255 characters>" is refused.
TEST_F(RegistrationTest, FailedExtensionMakesTheResultFalseAndTheOthersAreStillHandled) {
  const std::string longest(254, 'k');
  const std::string tooLong(255, 'l');
  WriteCatalogue("abc\n" + longest + "\n" + tooLong + "\nxyz\n");

  EXPECT_FALSE(MakeAssociator().AssociateCatalogue());

  for (const Text& key : {Text(u".abc"), u"." + WidenBytes(longest), Text(u".xyz")}) {
    EXPECT_EQ(Value(key), Sz(u"Orvanel")) << WideToUtf8(key);
    EXPECT_EQ(Value(key + u"\\OpenWithProgids", u"Orvanel"), Sz(u"")) << WideToUtf8(key);
  }
  EXPECT_FALSE(KeyExists(u"." + WidenBytes(tooLong)));
}

TEST_F(RegistrationTest, CatalogueOfTheLongestKeyNameSucceeds) {
  WriteCatalogue(std::string(254, 'k') + "\n");
  EXPECT_TRUE(MakeAssociator().AssociateCatalogue());
}

// A downloaded line must not reach keys other than its own extension's.
TEST_F(RegistrationTest, LinesNamingOtherKeysWriteNothing) {
  SetText(u".x\\shell\\open\\command", u"", u"safe");
  WriteCatalogue("x\\shell\\open\\command\nx\x01\nabc\n");
  EXPECT_TRUE(MakeAssociator().AssociateCatalogue());
  EXPECT_EQ(Value(u".x\\shell\\open\\command"), Sz(u"safe"));
  EXPECT_FALSE(KeyExists(u".x\\shell\\open\\command\\OpenWithProgids"));
  EXPECT_FALSE(KeyExists(Text(u".x") + u'\x01'));
  EXPECT_EQ(Value(u".abc"), Sz(u"Orvanel"));
}

}  // namespace
}  // namespace orvanel::test
