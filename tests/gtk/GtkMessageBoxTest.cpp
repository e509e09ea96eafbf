// Message boxes in real windows under Xvfb, shown in this process: what they show is
// read through the toolkit, the keys are real X events sent with xdotool.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "CaseName.h"
#include "GtkDriver.h"
#include "platform/Ui.h"

namespace orvanel::test {
namespace {

namespace ui = platform::ui;

struct BoxCase {
  const char* name;
  const char* text;
  ui::MessageButtons buttons;
  ui::MessageIcon icon;
  const char* iconName;
  const char* key;  // sent to the box; null: the box is closed as the window manager would
  ui::MessageResult result;
};

void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.name; }

class GtkMessageBoxTest : public testing::TestWithParam<BoxCase> {
 protected:
  GtkMessageBoxTest() { UseDesktopFrontend(); }
};

TEST_P(GtkMessageBoxTest, ShowsItsTextAndAnswersAsTheKeySays) {
  const BoxCase& c = GetParam();
  std::vector<std::string> texts;
  std::string iconName;
  Driver driver([&] {
    GtkWindow* window = WaitForDrawnWindow("Orvanel");
    ASSERT_NE(window, nullptr) << "no message box";
    OnGtkThread([&] {
      texts = LabelTexts(GTK_WIDGET(window));
      for (GtkWidget* widget : Descendants(GTK_WIDGET(window))) {
        const char* name = nullptr;
        if (GTK_IS_IMAGE(widget) && gtk_widget_get_mapped(widget))
          gtk_image_get_icon_name(GTK_IMAGE(widget), &name, nullptr);
        if (name) iconName = name;
      }
    });
    TestDisplay().Screenshot(XidOf(window), std::string("message-box-") + c.name);
    if (c.key) {
      const RunResult keys = TestDisplay().SendKeys(XidOf(window), {c.key});
      ASSERT_EQ(keys.exitCode, 0) << keys.err;
    } else {
      OnGtkThread([&] { gtk_window_close(window); });
    }
    EXPECT_TRUE(WaitUntilClosed("Orvanel"));
  });
  const ui::MessageResult result =
      ui::ShowMessageBox(Utf8ToWide(c.text), u"Orvanel", c.buttons, c.icon);
  driver.Join();

  EXPECT_EQ(result, c.result);
  EXPECT_THAT(texts, testing::Contains(c.text));
  const bool yesNo = c.buttons == ui::MessageButtons::YesNo;
  EXPECT_THAT(texts, testing::Contains(yesNo ? "Yes" : "OK"));
  if (yesNo) {
    EXPECT_THAT(texts, testing::Contains("No"));
  }
  EXPECT_EQ(iconName, c.iconName);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, GtkMessageBoxTest,
    testing::Values(
        BoxCase{"InformationEnterPressesOk", "Tracking has been turned off", ui::MessageButtons::Ok,
                ui::MessageIcon::Information, "dialog-information", "Return",
                ui::MessageResult::Ok},
        BoxCase{"ErrorKeepsItsLineFeeds", "Failed to turn on tracking.\n\nWas it turned off?",
                ui::MessageButtons::Ok, ui::MessageIcon::Error, "dialog-error", "Return",
                ui::MessageResult::Ok},
        BoxCase{"QuestionEnterAnswersYes", "Download and install the latest version of Orvanel?",
                ui::MessageButtons::YesNo, ui::MessageIcon::Information, "dialog-information",
                "Return", ui::MessageResult::Yes},
        BoxCase{"QuestionClosedAnswersNo", "Download and install the latest version of Orvanel?",
                ui::MessageButtons::YesNo, ui::MessageIcon::Information, "dialog-information",
                nullptr, ui::MessageResult::No}),
    CaseName());

}  // namespace
}  // namespace orvanel::test
