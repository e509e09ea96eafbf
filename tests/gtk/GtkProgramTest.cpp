// orvanel as the desktop starts it: a display in the environment and no frontend
// setting, so it shows real windows on the test's own Xvfb. Keys are sent with
// xdotool; the browser and pkexec are recording stand-ins first on PATH.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <future>
#include <string>
#include <vector>

#include "CaseName.h"
#include "LoopbackSite.h"
#include "ProgramFixture.h"
#include "XvfbDisplay.h"

namespace orvanel::test {
namespace {

class GtkProgramTest : public ProgramFixture {
 protected:
  GtkProgramTest() {
    CreateDataFolder();
    UseSites("http://info.test", site_.Base());
    site_.Serve("/analytics/analytics.php", "");
    site_.Serve("/software_version.txt", "0.2");
    site_.Serve("/data_version.txt", "0");
  }

  // The setting of a desktop session: the display, the system's shared data (icons,
  // the MIME database), no frontend asked for.
  static RunOptions OnDisplay(const std::string& display) {
    RunOptions options;
    options.env = {{"ORVANEL_FRONTEND", ""},
                   {"NO_AT_BRIDGE", "1"},
                   {"GDK_BACKEND", "x11"},
                   {"XDG_DATA_DIRS", "/usr/local/share:/usr/share"}};
    if (!display.empty()) options.env["DISPLAY"] = display;
    options.timeoutSeconds = 30;
    return options;
  }

  // orvanel with `arguments` in the background, on the test display.
  std::future<RunResult> StartOrvanel(const std::vector<std::string>& arguments) {
    const RunOptions options = OnDisplay(TestDisplay().name());
    return std::async(std::launch::async,
                      [this, arguments, options] { return RunOrvanel(arguments, options); });
  }

  // Waits for the window, keeps a screenshot of it, and presses Enter in it.
  void PressEnterIn(const std::string& title, const std::string& screenshot) {
    const std::string window = TestDisplay().WaitForWindow(title);
    ASSERT_FALSE(window.empty()) << "no window " << title;
    TestDisplay().Screenshot(window, screenshot);
    const RunResult keys = TestDisplay().SendKeys(window, {"Return"});
    ASSERT_EQ(keys.exitCode, 0) << keys.err;
  }

  LoopbackSite site_;
};

// Open a file, take the search page, accept the newer program: the update dialog shows
// while the installer comes in slowly, closes by itself, and the installer is started.
TEST_F(GtkProgramTest, TheWholeRoadOfAnOpenedFileInWindows) {
  site_.Serve("/software_version.txt", "0.3");
  std::vector<std::string> parts;
  std::string installer;
  for (char c = 'a'; c < 'a' + 6; ++c) {
    parts.push_back(std::string(512 * 1024, c));
    installer += parts.back();
  }
  bool dialogShownDuringDownload = false;
  site_.ServeInParts("/installer.exe", parts, [&](size_t sent) {
    // The next part goes out only once the dialog is on the screen.
    if (sent == 1) {
      const std::string window = TestDisplay().WaitForWindow("Orvanel Update");
      dialogShownDuringDownload = !window.empty();
      if (dialogShownDuringDownload) TestDisplay().Screenshot(window, "program-update-dialog");
    }
  });
  WriteFile(dir_ / "report.xyz", "sample");

  std::future<RunResult> run = StartOrvanel({dir_ / "report.xyz"});
  ASSERT_NO_FATAL_FAILURE(PressEnterIn("Orvanel", "program-prompt"));
  ASSERT_NO_FATAL_FAILURE(PressEnterIn("Update Orvanel", "program-update-offer"));
  const RunResult result = run.get();

  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(dialogShownDuringDownload);
  EXPECT_FALSE(TestDisplay().HasWindow("Orvanel Update")) << "the dialog outlived the download";
  EXPECT_THAT(Calls("xdg-open"), testing::ElementsAre(testing::MatchesRegex(
                                     "http://info.test/type/xyz/tovix(\\?_id=[0-9a-f]{32})?")));
  EXPECT_TRUE(ReadFile(DataFolder() + "/installer.exe") == installer);
  const std::vector<std::string> elevated = Calls("pkexec");
  ASSERT_EQ(elevated.size(), 1u);
  EXPECT_NE(elevated[0].find(DataFolder() + "/installer.exe"), std::string::npos) << elevated[0];
}

struct TrackingCase {
  const char* name;
  const char* switchText;
  bool classKeyExists;
  int exitCode;
};

void PrintTo(const TrackingCase& c, std::ostream* os) { *os << c.name; }

class GtkTrackingBoxTest : public GtkProgramTest,
                           public testing::WithParamInterface<TrackingCase> {};

TEST_P(GtkTrackingBoxTest, TheMessageBoxClosesOnEnterAndTheExitCodeTells) {
  if (!RunsAsRoot()) GTEST_SKIP() << "the tracking switch writes the store only as root";
  const TrackingCase& c = GetParam();
  if (c.classKeyExists) {
    const RunResult added =
        RunProgram("orvanel-reg", {"add", "HKCR\\Orvanel", "/v", "private", "/d", "0"});
    ASSERT_EQ(added.exitCode, 0) << added.err;
  }
  std::future<RunResult> run = StartOrvanel({c.switchText});
  ASSERT_NO_FATAL_FAILURE(PressEnterIn("Orvanel", std::string("program-tracking-") + c.name));
  const RunResult result = run.get();
  EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
  EXPECT_EQ(result.err, "");
}

INSTANTIATE_TEST_SUITE_P(Switches, GtkTrackingBoxTest,
                         testing::Values(TrackingCase{"TurnedOff", "-t=off", true, 0},
                                         TrackingCase{"NotTurnedOn", "-t=on", false, 255}),
                         CaseName());

struct FallbackCase {
  const char* name;
  const char* frontend;    // ORVANEL_FRONTEND; empty: none asked for
  const char* display;     // DISPLAY; null: unset; "test": the test's X server
  const char* diagnostic;  // the one line before the prompt; null: none
};

void PrintTo(const FallbackCase& c, std::ostream* os) { *os << c.name; }

class GtkFallbackTest : public GtkProgramTest, public testing::WithParamInterface<FallbackCase> {};

// Without a desktop that GTK can open, or with the terminal asked for, the prompt is
// asked on the terminal, after at most one line saying why.
TEST_P(GtkFallbackTest, ThePromptGoesToTheTerminal) {
  const FallbackCase& c = GetParam();
  std::string display;
  if (c.display) display = std::string(c.display) == "test" ? TestDisplay().name() : c.display;
  RunOptions options = OnDisplay(display);
  options.env["ORVANEL_FRONTEND"] = c.frontend;
  options.input = "q\n";
  const RunResult result = RunOrvanel({dir_ / "report.xyz"}, options);

  EXPECT_EQ(result.exitCode, 0) << result.err;
  const std::string prompt = "Orvanel\nOrvanel finds information";
  if (c.diagnostic) {
    EXPECT_EQ(result.err.rfind(std::string(c.diagnostic) + "\n" + prompt, 0), 0u) << result.err;
  } else {
    EXPECT_EQ(result.err.rfind(prompt, 0), 0u) << result.err;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Settings, GtkFallbackTest,
    testing::Values(
        FallbackCase{"TerminalAskedForOnADesktop", "terminal", "test", nullptr},
        FallbackCase{"GtkAskedForWithoutDisplay", "gtk", nullptr,
                     "orvanel: GTK cannot open the display (no DISPLAY or WAYLAND_DISPLAY); using "
                     "the terminal"},
        FallbackCase{"GtkAskedForOnADisplayThatIsNotThere", "gtk", ":4095",
                     "orvanel: GTK cannot open the display (DISPLAY=\":4095\"); using the "
                     "terminal"},
        FallbackCase{"DisplayThatIsNotThereWithoutSetting", "", ":4095",
                     "orvanel: GTK cannot open the display (DISPLAY=\":4095\"); using the "
                     "terminal"}),
    CaseName());

}  // namespace
}  // namespace orvanel::test
