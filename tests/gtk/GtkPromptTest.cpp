// The open-file prompt in a real window under Xvfb, shown by the prompt itself
// (ShowPrompt) in this process: its widgets are read through the toolkit, keys and
// clicks are real X events sent with xdotool, the browser is a recording stand-in.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "CaseName.h"
#include "GtkDriver.h"
#include "TestSupport.h"
#include "platform/Resources.h"
#include "prompt/Prompt.h"

namespace orvanel::test {
namespace {

using testing::UnorderedElementsAreArray;

const std::vector<std::string> kPromptTexts = {
    "Orvanel finds information about the file types on your system and provides the software "
    "needed to open them.",
    "File:",
    "report.xyz",
    "What would you like to do?",
    "Search the web for software to open the file",
    "Read and learn about .xyz file",
    "Open using software already on your computer",
    "Do not show again for .xyz file",
    "OK"};

// The template's rectangles in dialog units, as the Windows dialog places them,
// with the text each control shows; the window is 310 by 150 units.
struct Placement {
  const char* text;  // null: the separator line
  int x, y, width, height;
};
const Placement kTemplate[] = {
    {"OK", 253, 129, 50, 14},
    {"Orvanel finds information about the file types on your system and provides the software "
     "needed to open them.",
     7, 5, 296, 28},
    {"File:", 7, 32, 14, 8},
    {"report.xyz", 24, 32, 109, 8},
    {"What would you like to do?", 7, 50, 296, 8},
    {"Search the web for software to open the file", 27, 70, 276, 10},
    {"Read and learn about .xyz file", 27, 88, 276, 10},
    {"Open using software already on your computer", 27, 105, 276, 10},
    {"Do not show again for .xyz file", 7, 132, 243, 10},
    {nullptr, 7, 123, 296, 1}};

// The control showing `text`: a button (its label is inside it) or the label itself.
GtkWidget* ControlShowing(GtkWidget* window, const char* text) {
  for (GtkWidget* widget : Descendants(window)) {
    if (!text && GTK_IS_SEPARATOR(widget)) return widget;
    if (text && GTK_IS_LABEL(widget) &&
        std::string(gtk_label_get_text(GTK_LABEL(widget))) == text) {
      GtkWidget* parent = gtk_widget_get_parent(widget);
      return GTK_IS_BUTTON(parent) ? parent : widget;
    }
  }
  return nullptr;
}

GtkWidget* ButtonShowing(GtkWidget* window, const char* text) {
  GtkWidget* control = ControlShowing(window, text);
  return control && GTK_IS_BUTTON(control) ? control : nullptr;
}

bool IsActive(GtkWidget* window, const char* text) {
  GtkWidget* button = ButtonShowing(window, text);
  return button && gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(button));
}

// Lets the window handle what the X server has sent it so far (keys, clicks).
void SettleEvents() {
  OnGtkThread([] {
    gdk_display_sync(gdk_display_get_default());
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
  });
}

class GtkPromptTest : public testing::Test {
 protected:
  GtkPromptTest() {
    UseDesktopFrontend();
    for (const char* folder : {"bin", "data", "data/Orvanel"}) mkdir((dir_ / folder).c_str(), 0755);
    WriteFile(dir_ / "bin/xdg-open",
              "#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + BrowserRecord() + "'\n");
    chmod((dir_ / "bin/xdg-open").c_str(), 0755);
  }

  std::string BrowserRecord() const { return dir_ / "browser.log"; }
  std::string IgnoreList() const { return dir_ / "data/Orvanel/ignore.txt"; }

  void ShowPromptFor(const std::string& file) {
    ShowPrompt(platform::ProgramInstance(), Utf8ToWide(file), Utf8ToWide(dir_ / "data/Orvanel/"));
  }

  // The browser runs detached; its record may come a little after the prompt.
  std::string BrowserCalls(bool expected) const {
    const auto deadline = std::chrono::steady_clock::now() +
                          (expected ? std::chrono::seconds(5) : std::chrono::milliseconds(500));
    while (std::chrono::steady_clock::now() < deadline) {
      if (expected && FileExists(BrowserRecord())) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return ReadFile(BrowserRecord());
  }

  // Clicks the middle of the control's left end, where a radio button or check box
  // draws its indicator.
  void Click(GtkWindow* window, const char* text) {
    int x = -1;
    int y = -1;
    OnGtkThread([&] {
      GtkWidget* control = ControlShowing(GTK_WIDGET(window), text);
      if (!control) return;
      GtkAllocation allocation;
      gtk_widget_get_allocation(control, &allocation);
      int originX = 0;
      int originY = 0;
      gdk_window_get_origin(gtk_widget_get_window(GTK_WIDGET(window)), &originX, &originY);
      gtk_widget_translate_coordinates(control, GTK_WIDGET(window), 0, 0, &x, &y);
      x += originX + 10;
      y += originY + allocation.height / 2;
    });
    ASSERT_GE(x, 0) << "no control shows " << text;
    const RunResult moved = TestDisplay().XdoTool(
        {"mousemove", "--sync", std::to_string(x), std::to_string(y), "click", "1"});
    ASSERT_EQ(moved.exitCode, 0) << moved.err;
    SettleEvents();
  }

  TempDir dir_;
  ScopedEnv path_{"PATH", (dir_ / "bin") + ":/usr/bin:/bin"};
  ScopedEnv infoSite_{"ORVANEL_INFO_SITE", "http://info.test"};
  ScopedEnv store_{"ORVANEL_REGISTRY", dir_ / "registry.db"};
};

TEST_F(GtkPromptTest, ShowsEveryTextWithTheExtensionFilledInAndTheFirstChoiceSelected) {
  std::string title;
  std::vector<std::string> texts;
  bool firstSelected = false, othersSelected = true, boxTicked = true, okIsDefault = false;
  Driver driver([&] {
    GtkWindow* window = WaitForDrawnWindow("Orvanel");
    ASSERT_NE(window, nullptr) << "no prompt window";
    OnGtkThread([&] {
      GtkWidget* widget = GTK_WIDGET(window);
      title = gtk_window_get_title(window);
      texts = LabelTexts(widget);
      firstSelected = IsActive(widget, "Search the web for software to open the file");
      othersSelected = IsActive(widget, "Read and learn about .xyz file") ||
                       IsActive(widget, "Open using software already on your computer");
      boxTicked = IsActive(widget, "Do not show again for .xyz file");
      GtkWidget* ok = ButtonShowing(widget, "OK");
      okIsDefault = ok && gtk_widget_has_default(ok);
    });
    const std::string shot = TestDisplay().Screenshot(XidOf(window), "prompt-report.xyz");
    std::printf("screenshot: %s\n", shot.c_str());
  });
  ShowPromptFor("/home/user/report.xyz");
  driver.Join();

  EXPECT_EQ(title, "Orvanel");
  EXPECT_THAT(texts, UnorderedElementsAreArray(kPromptTexts));
  EXPECT_TRUE(firstSelected);
  EXPECT_FALSE(othersSelected);
  EXPECT_FALSE(boxTicked);
  EXPECT_TRUE(okIsDefault);
}

// Every control where the template puts it, relative to the window's size, and
// no text cut short or outside its control.
TEST_F(GtkPromptTest, PlacesEveryControlAsTheTemplateDoesAndCutsNoText) {
  struct Seen {
    bool found = false;
    int x = 0, y = 0, width = 0, height = 0;
    bool textFits = true;
  };
  std::vector<Seen> seen(std::size(kTemplate));
  int windowWidth = 0, windowHeight = 0;
  Driver driver([&] {
    GtkWindow* window = WaitForDrawnWindow("Orvanel");
    ASSERT_NE(window, nullptr) << "no prompt window";
    OnGtkThread([&] {
      GtkWidget* widget = GTK_WIDGET(window);
      windowWidth = gtk_widget_get_allocated_width(widget);
      windowHeight = gtk_widget_get_allocated_height(widget);
      for (size_t i = 0; i < std::size(kTemplate); ++i) {
        GtkWidget* control = ControlShowing(widget, kTemplate[i].text);
        if (!control) continue;
        Seen& s = seen[i];
        s.found = true;
        gtk_widget_translate_coordinates(control, widget, 0, 0, &s.x, &s.y);
        s.width = gtk_widget_get_allocated_width(control);
        s.height = gtk_widget_get_allocated_height(control);
        for (GtkWidget* label : Descendants(control))
          if (GTK_IS_LABEL(label)) control = label;
        if (GTK_IS_LABEL(control)) {
          PangoLayout* layout = gtk_label_get_layout(GTK_LABEL(control));
          int textWidth = 0, textHeight = 0;
          pango_layout_get_pixel_size(layout, &textWidth, &textHeight);
          s.textFits = !pango_layout_is_ellipsized(layout) &&
                       textWidth <= gtk_widget_get_allocated_width(control) &&
                       textHeight <= gtk_widget_get_allocated_height(control);
        }
      }
    });
  });
  ShowPromptFor("/home/user/report.xyz");
  driver.Join();

  ASSERT_GT(windowWidth, 0);
  // The window keeps the template's proportions (dialog units are taller than wide,
  // about 2 : 1 in pixels per unit, as in the dialog font).
  const double unitWidth = windowWidth / 310.0, unitHeight = windowHeight / 150.0;
  EXPECT_GT(unitHeight / unitWidth, 0.8);
  EXPECT_LT(unitHeight / unitWidth, 1.4);
  for (size_t i = 0; i < std::size(kTemplate); ++i) {
    const Placement& p = kTemplate[i];
    const Seen& s = seen[i];
    const char* name = p.text ? p.text : "separator";
    ASSERT_TRUE(s.found) << name;
    EXPECT_NEAR(s.x, p.x * unitWidth, 2) << name;
    EXPECT_NEAR(s.width, p.width * unitWidth, 2) << name;
    // A control GTK draws taller than its rectangle is centred on it.
    EXPECT_NEAR(s.y + s.height / 2.0, (p.y + p.height / 2.0) * unitHeight, 2) << name;
    EXPECT_LE(s.x + s.width, windowWidth) << name;
    EXPECT_LE(s.y + s.height, windowHeight) << name;
    EXPECT_TRUE(s.textFits) << name << " is cut short";
  }
}

TEST_F(GtkPromptTest, EscapeLeavesThePromptOpenAndClosingItDoesNothing) {
  bool openAfterEscape = false;
  Driver driver([&] {
    GtkWindow* window = WaitForDrawnWindow("Orvanel");
    ASSERT_NE(window, nullptr) << "no prompt window";
    const RunResult keys = TestDisplay().SendKeys(XidOf(window), {"Escape"});
    ASSERT_EQ(keys.exitCode, 0) << keys.err;
    SettleEvents();
    openAfterEscape = WindowShown("Orvanel");
    OnGtkThread([&] { gtk_window_close(window); });  // as the title bar's close button
  });
  ShowPromptFor("/home/user/report.xyz");
  driver.Join();

  EXPECT_TRUE(openAfterEscape);
  EXPECT_FALSE(WindowShown("Orvanel"));
  EXPECT_EQ(BrowserCalls(false), "");
  EXPECT_FALSE(FileExists(IgnoreList()));
}

struct EnterCase {
  const char* name;
  const char* clicked;     // the control clicked before Enter; null: none
  const char* page;        // the page the browser opens (before the query); null: none
  const char* ignoreList;  // what the ignore list holds afterwards
};

void PrintTo(const EnterCase& c, std::ostream* os) { *os << c.name; }

class GtkPromptEnterTest : public GtkPromptTest, public testing::WithParamInterface<EnterCase> {};

TEST_P(GtkPromptEnterTest, EnterPressesOk) {
  const EnterCase& c = GetParam();
  Driver driver([&] {
    GtkWindow* window = WaitForDrawnWindow("Orvanel");
    ASSERT_NE(window, nullptr) << "no prompt window";
    if (c.clicked) {
      ASSERT_NO_FATAL_FAILURE(Click(window, c.clicked));
    }
    const RunResult keys = TestDisplay().SendKeys(XidOf(window), {"Return"});
    ASSERT_EQ(keys.exitCode, 0) << keys.err;
    EXPECT_TRUE(WaitUntilClosed("Orvanel")) << "Enter did not end the prompt";
  });
  ShowPromptFor("/home/user/report.xyz");
  driver.Join();

  const std::string calls = BrowserCalls(c.page != nullptr);
  if (c.page) {
    EXPECT_THAT(calls, testing::MatchesRegex(std::string(c.page) + "(\\?_id=[0-9a-f]{32})?\n"));
  } else {
    EXPECT_EQ(calls, "");
  }
  EXPECT_EQ(ReadFile(IgnoreList()), c.ignoreList);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, GtkPromptEnterTest,
    testing::Values(EnterCase{"NothingChangedSearchesTheWeb", nullptr,
                              "http://info.test/type/xyz/tovix", ""},
                    EnterCase{"SecondChoiceReadsAboutTheType", "Read and learn about .xyz file",
                              "http://info.test/extension/xyz/tovix", ""},
                    EnterCase{"TickedBoxOnlyIgnoresTheExtension", "Do not show again for .xyz file",
                              nullptr, "xyz\r\n"}),
    CaseName());

}  // namespace
}  // namespace orvanel::test
