#include <gtest/gtest.h>

#include "platform/Resources.h"
#include "prompt/PromptState.h"
#include "prompt/PromptTexts.h"

namespace orvanel {
namespace {

TEST(FillExtensionTest, ReplacesTheFirstTokenOnly) {
  EXPECT_EQ(FillExtension(u"Read and learn about .%EXT% file", u"pdf"),
            u"Read and learn about .pdf file");
  EXPECT_EQ(FillExtension(u"%EXT% and %EXT%", u"pdf"), u"pdf and %EXT%");
  EXPECT_EQ(FillExtension(u"about .%EXT% file", u""), u"about . file");
  EXPECT_EQ(FillExtension(u"no token here", u"pdf"), u"no token here");
  // An extension that looks like the token is put in once, not expanded again.
  EXPECT_EQ(FillExtension(u".%EXT%.", u"%EXT%"), u".%EXT%.");
}

TEST(BuildPromptContentTest, ShowsTheFileAndItsExtensionInTheStringTableTexts) {
  const PromptState& state =
      StorePromptState(platform::ProgramInstance(), u"/home/u/Docs/README", u"/d/", u'/');
  const platform::ui::PromptContent content = BuildPromptContent(state);
  EXPECT_EQ(content.caption, u"Orvanel");
  EXPECT_EQ(content.intro,
            u"Orvanel finds information about the file types on your system and provides the "
            u"software needed to open them.");
  EXPECT_EQ(content.fileLabel, u"File:");
  EXPECT_EQ(content.fileName, u"README");
  EXPECT_EQ(content.question, u"What would you like to do?");
  EXPECT_EQ(content.choices[0], u"Search the web for software to open the file");
  EXPECT_EQ(content.choices[1], u"Read and learn about .readme file");
  EXPECT_EQ(content.choices[2], u"Open using software already on your computer");
  EXPECT_EQ(content.dontShowAgain, u"Do not show again for .readme file");
  EXPECT_EQ(content.ok, u"OK");
}

TEST(BuildPromptContentTest, AFinalDotLeavesTheDotBeforeAnEmptyExtension) {
  const PromptState& state =
      StorePromptState(platform::ProgramInstance(), u"/home/u/report.", u"/d/", u'/');
  const platform::ui::PromptContent content = BuildPromptContent(state);
  EXPECT_EQ(content.fileName, u"report.");
  EXPECT_EQ(content.choices[1], u"Read and learn about . file");
  EXPECT_EQ(content.dontShowAgain, u"Do not show again for . file");
}

}  // namespace
}  // namespace orvanel
