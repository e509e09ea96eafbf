// orvanel as the desktop starts it: a display in the environment and no frontend
// setting, so it shows real windows on the test's own Xvfb. Keys are sent with
// xdotool; the browser and pkexec are recording stand-ins first on PATH.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <future>
#include <string>
#include <vector>

#include "LoopbackSite.h"
#include "TestSupport.h"
#include "XvfbDisplay.h"

namespace orvanel::test {
namespace {

class GtkProgramTest : public testing::Test {
 protected:
  GtkProgramTest() {
    for (const char* folder : {"bin", "data", "data/Orvanel"}) mkdir((dir_ / folder).c_str(), 0755);
    Recorder("xdg-open", BrowserRecord());
    Recorder("pkexec", PkexecRecord());
    site_.Serve("/analytics/analytics.php", "");
    site_.Serve("/software_version.txt", "0.2");
    site_.Serve("/data_version.txt", "0");
  }

  std::string BrowserRecord() const { return dir_ / "browser.log"; }
  std::string PkexecRecord() const { return dir_ / "pkexec.log"; }
  std::string DataFolder() const { return dir_ / "data/Orvanel"; }

  RunOptions Options(const std::string& display) const {
    RunOptions options;
    options.env = {{"ORVANEL_REGISTRY", dir_ / "registry.db"},
                   {"XDG_DATA_HOME", dir_ / "data"},
                   {"ORVANEL_INFO_SITE", "http://info.test"},
                   {"ORVANEL_DOWNLOAD_SITE", site_.Base()},
                   {"PATH", (dir_ / "bin") + ":/usr/bin:/bin"},
                   {"NO_AT_BRIDGE", "1"},
                   {"GDK_BACKEND", "x11"}};
    if (!display.empty()) options.env["DISPLAY"] = display;
    options.unsetEnv = {"ORVANEL_FRONTEND", "WAYLAND_DISPLAY", "PKEXEC_UID"};
    if (display.empty()) options.unsetEnv.push_back("DISPLAY");
    options.timeoutSeconds = 30;
    return options;
  }

  // orvanel with `arguments` in the background, on the test display.
  std::future<RunResult> StartOrvanel(const std::vector<std::string>& arguments) {
    std::vector<std::string> argv = {ProgramPath("orvanel")};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    RunOptions options = Options(TestDisplay().name());
    return std::async(std::launch::async, [argv, options] { return test::Run(argv, options); });
  }

  // Waits for the window, keeps a screenshot of it, and presses Enter in it.
  void PressEnterIn(const std::string& title, const std::string& screenshot) {
    const std::string window = TestDisplay().WaitForWindow(title);
    ASSERT_FALSE(window.empty()) << "no window " << title;
    TestDisplay().Screenshot(window, screenshot);
    const RunResult keys = TestDisplay().SendKeys(window, {"Return"});
    ASSERT_EQ(keys.exitCode, 0) << keys.err;
  }

  TempDir dir_;
  LoopbackSite site_;

 private:
  void Recorder(const std::string& name, const std::string& record) {
    const std::string path = dir_ / ("bin/" + name);
    WriteFile(path, "#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + record + "'\n");
    chmod(path.c_str(), 0755);
  }
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
  EXPECT_THAT(ReadFile(BrowserRecord()),
              testing::MatchesRegex("http://info.test/type/xyz/tovix(\\?_id=[0-9a-f]{32})?\n"));
  EXPECT_TRUE(ReadFile(DataFolder() + "/installer.exe") == installer);
  const std::string elevated = ReadFile(PkexecRecord());
  EXPECT_NE(elevated.find(DataFolder() + "/installer.exe"), std::string::npos) << elevated;
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
  if (geteuid() != 0) GTEST_SKIP() << "the tracking switch writes the store only as root";
  const TrackingCase& c = GetParam();
  if (c.classKeyExists) {
    RunOptions options;
    options.env = {{"ORVANEL_REGISTRY", dir_ / "registry.db"}};
    const RunResult added = test::Run(
        {ProgramPath("orvanel-reg"), "add", "HKCR\\Orvanel", "/v", "private", "/d", "0"}, options);
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
                         [](const testing::TestParamInfo<TrackingCase>& info) {
                           return std::string(info.param.name);
                         });

struct FallbackCase {
  const char* name;
  const char* frontend;  // ORVANEL_FRONTEND; null: unset
  const char* display;   // DISPLAY; null: unset; "test": the test's X server
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
  RunOptions options = Options(display);
  if (c.frontend) options.env["ORVANEL_FRONTEND"] = c.frontend;
  options.input = "q\n";
  const RunResult result = test::Run({ProgramPath("orvanel"), dir_ / "report.xyz"}, options);

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
        FallbackCase{"DisplayThatIsNotThereWithoutSetting", nullptr, ":4095",
                     "orvanel: GTK cannot open the display (DISPLAY=\":4095\"); using the "
                     "terminal"}),
    [](const testing::TestParamInfo<FallbackCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvanel::test
