// The update dialog in a real window under Xvfb, run by the download itself
// (RunDownloadDialog) in this process against a loopback site that sends a few MiB
// in parts, waiting after each until the test has looked at the window.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "GtkDriver.h"
#include "LoopbackSite.h"
#include "TestSupport.h"
#include "platform/DataFolder.h"
#include "updates/DownloadDialog.h"

namespace orvanel::test {
namespace {

constexpr size_t kParts = 8;
constexpr size_t kPartSize = 512 * 1024;

// What the window showed after a part had gone out.
struct Look {
  bool shown = false;
  double fraction = -1;
};

double BarFraction(GtkWindow* window) {
  double fraction = -1;
  OnGtkThread([&] {
    for (GtkWidget* widget : Descendants(GTK_WIDGET(window))) {
      if (GTK_IS_PROGRESS_BAR(widget))
        fraction = gtk_progress_bar_get_fraction(GTK_PROGRESS_BAR(widget));
    }
  });
  return fraction;
}

class GtkProgressTest : public testing::Test {
 protected:
  GtkProgressTest() {
    UseDesktopFrontend();
    mkdir(DataFolder().c_str(), 0755);
    SetProcessDataFolder(Utf8ToWide(DataFolder() + "/"));
    for (size_t i = 0; i < kParts; ++i) parts_.push_back(std::string(kPartSize, char('a' + i)));
  }

  std::string DataFolder() const { return dir_ / "Orvanel"; }

  std::string Body() const {
    std::string body;
    for (const auto& part : parts_) body += part;
    return body;
  }

  TempDir dir_;
  LoopbackSite site_;
  std::vector<std::string> parts_;
};

// The bar shows what has arrived and no more; the window stays through Escape and the
// window manager's close, and goes away by itself when the download ends.
TEST_F(GtkProgressTest, TheBarFollowsTheDownloadAndTheWindowClosesWhenItEnds) {
  std::vector<Look> looks(kParts);
  bool openAfterEscape = false, openAfterClose = false, deletable = true;
  int width = 0, height = 0;
  GtkWindow* window = nullptr;
  site_.ServeInParts("/extensions.txt", parts_, [&](size_t sent) {
    if (sent == kParts) return;  // the last part: the download ends
    if (sent == 1) {
      window = WaitForDrawnWindow("Orvanel Update");
      if (!window) return;
      OnGtkThread([&] {
        deletable = gtk_window_get_deletable(window);
        width = gtk_widget_get_allocated_width(GTK_WIDGET(window));
        height = gtk_widget_get_allocated_height(GTK_WIDGET(window));
      });
      std::printf("screenshot: %s\n",
                  TestDisplay().Screenshot(XidOf(window), "update-dialog").c_str());
    }
    if (!window) return;
    Look& look = looks[sent - 1];
    look.shown = WindowShown("Orvanel Update");
    // Each position reaches the window before the transfer goes on; wait until the
    // bar shows this part, but never more than has been sent.
    const double sentFraction = double(sent) / kParts;
    for (int i = 0; i < 500 && look.fraction < sentFraction - 0.01; ++i) {
      const double fraction = BarFraction(window);
      if (fraction > sentFraction + 0.001) {
        look.fraction = fraction;
        break;
      }
      look.fraction = fraction;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (sent == 2) {
      TestDisplay().SendKeys(XidOf(window), {"Escape"});
      OnGtkThread([] {
        gdk_display_sync(gdk_display_get_default());
        while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
      });
      openAfterEscape = WindowShown("Orvanel Update");
    }
    if (sent == 3) {
      OnGtkThread([&] { gtk_window_close(window); });  // as the window manager's close
      openAfterClose = WindowShown("Orvanel Update");
    }
  });

  EXPECT_TRUE(RunDownloadDialog(Utf8ToWide(site_.Base() + "/extensions.txt"), u"extensions.txt"));

  ASSERT_NE(window, nullptr) << "no update window while the download ran";
  EXPECT_FALSE(WindowShown("Orvanel Update")) << "the window outlived the download";
  EXPECT_EQ(ReadFile(DataFolder() + "/extensions.txt"), Body());
  for (size_t sent = 1; sent < kParts; ++sent) {
    const Look& look = looks[sent - 1];
    EXPECT_TRUE(look.shown) << "after part " << sent;
    EXPECT_NEAR(look.fraction, double(sent) / kParts, 0.011) << "after part " << sent;
  }
  EXPECT_TRUE(openAfterEscape);
  EXPECT_TRUE(openAfterClose);
  EXPECT_FALSE(deletable) << "the window offers a close box";
  // 184 by 25 dialog units, a unit about twice as tall as wide in pixels.
  ASSERT_GT(width, 0);
  const double unitRatio = (height / 25.0) / (width / 184.0);
  EXPECT_GT(unitRatio, 0.8);
  EXPECT_LT(unitRatio, 1.4);
}

}  // namespace
}  // namespace orvanel::test
