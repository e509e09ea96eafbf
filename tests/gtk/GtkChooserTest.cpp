// GTK's application chooser in a real window under Xvfb, shown in this process for a
// file whose type one installed application (a recording stand-in) declares.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include <chrono>
#include <string>
#include <thread>

#include "CaseName.h"
#include "GtkDriver.h"
#include "TestSupport.h"
#include "platform/Ui.h"

namespace orvanel::test {
namespace {

constexpr char kFile[] = "/some/dir/report.xyz";

struct ChooserCase {
  const char* name;
  const char* key;     // pressed in the chooser
  const char* record;  // what the application was started with
};

void PrintTo(const ChooserCase& c, std::ostream* os) { *os << c.name; }

// The stand-in, installed once per process: GIO keeps what it has read of the
// installed applications for the life of the process.
class Installation {
 public:
  Installation() {
    for (const char* folder : {"bin", "apps", "apps/applications", "data", "config"})
      mkdir((dir_ / folder).c_str(), 0755);
    WriteFile(dir_ / "bin/recorder", "#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + Record() + "'\n");
    chmod((dir_ / "bin/recorder").c_str(), 0755);
    WriteFile(dir_ / "apps/applications/recorder.desktop",
              "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" + (dir_ / "bin/recorder") +
                  " %f\nMimeType=application/octet-stream;\n");
    WriteFile(dir_ / "apps/applications/mimeinfo.cache",
              "[MIME Cache]\napplication/octet-stream=recorder.desktop;\n");
    // Only the stand-in is installed; the system's share keeps the MIME database and icons.
    setenv("XDG_DATA_DIRS", ((dir_ / "apps") + ":/usr/share").c_str(), 1);
    setenv("XDG_DATA_HOME", (dir_ / "data").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
  }

  std::string Record() const { return dir_ / "recorder.log"; }

 private:
  TempDir dir_;
};

const Installation& Installed() {
  static const Installation installation;
  return installation;
}

class GtkChooserTest : public testing::TestWithParam<ChooserCase> {
 protected:
  GtkChooserTest() {
    UseDesktopFrontend();
    unlink(Record().c_str());
  }

  std::string Record() const { return Installed().Record(); }

  // The application runs detached; its record may come after the chooser has gone.
  std::string Started(bool expected) const {
    const auto deadline = std::chrono::steady_clock::now() +
                          (expected ? std::chrono::seconds(5) : std::chrono::milliseconds(500));
    while (std::chrono::steady_clock::now() < deadline && !(expected && FileExists(Record())))
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return ReadFile(Record());
  }
};

TEST_P(GtkChooserTest, OffersTheApplicationsForTheFilesType) {
  const ChooserCase& c = GetParam();
  std::string offered;
  bool shown = false;
  Driver driver([&] {
    GtkWindow* window = WaitForDrawnWindow("Select Application");
    ASSERT_NE(window, nullptr) << "no chooser";
    OnGtkThread([&] {
      GAppInfo* app = gtk_app_chooser_get_app_info(GTK_APP_CHOOSER(window));
      if (app) {
        offered = g_app_info_get_name(app);
        g_object_unref(app);
      }
    });
    TestDisplay().Screenshot(XidOf(window), std::string("chooser-") + c.name);
    const RunResult keys = TestDisplay().SendKeys(XidOf(window), {c.key});
    ASSERT_EQ(keys.exitCode, 0) << keys.err;
    EXPECT_TRUE(WaitUntilClosed("Select Application"));
  });
  shown = platform::ui::ShowApplicationChooser(Utf8ToWide(kFile));
  driver.Join();

  EXPECT_TRUE(shown);
  EXPECT_EQ(offered, "Recorder");
  EXPECT_EQ(Started(*c.record != '\0'), c.record);
}

INSTANTIATE_TEST_SUITE_P(Keys, GtkChooserTest,
                         testing::Values(ChooserCase{"EnterStartsTheOneSelected", "Return",
                                                     "/some/dir/report.xyz\n"},
                                         ChooserCase{"EscapeStartsNothing", "Escape", ""}),
                         CaseName());

}  // namespace
}  // namespace orvanel::test
