// Driving the desktop frontend inside the test process. The test's main thread runs
// the window modally (as orvanel does); a driver thread looks at the widgets through
// the toolkit, on the main thread, and sends real keys and clicks with xdotool.
#pragma once

#include <gtk/gtk.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "XvfbDisplay.h"

namespace orvanel::test {

// Points this process at the test display and selects the desktop frontend. Call
// before the first window.
void UseDesktopFrontend();

// Runs `step` on the thread of the main loop and waits for it; false when it had not
// run after ten seconds (no window loop running). On that thread itself, runs it now.
bool OnGtkThread(const std::function<void()>& step);

// The visible top-level window titled `title` once it has been drawn, or nullptr
// after `timeoutSeconds`. Called from the driver thread.
GtkWindow* WaitForDrawnWindow(const std::string& title, int timeoutSeconds = 10);

// Whether a visible top-level window has this title (from the driver thread).
bool WindowShown(const std::string& title);

// Waits until no visible top-level window has this title; false when one still had
// after `timeoutSeconds`. Called from the driver thread.
bool WaitUntilClosed(const std::string& title, int timeoutSeconds = 10);

// The X window id of a top-level window, as xdotool and import name it.
std::string XidOf(GtkWindow* window);

// Every widget inside `widget`, the internal ones of the toolkit's own widgets too, in
// tree order. Main thread only.
std::vector<GtkWidget*> Descendants(GtkWidget* widget);

// The texts of every label inside `widget`. Main thread only.
std::vector<std::string> LabelTexts(GtkWidget* widget);

// The driver's thread, started at once and joined on destruction (Join runs the main
// loop meanwhile). If the driver ended with windows still
// open (a failed step), they are closed, so that the modal call returns and the test
// reports its failures instead of hanging.
class Driver {
 public:
  explicit Driver(std::function<void()> steps);
  ~Driver();
  void Join();

 private:
  std::atomic<bool> finished_{false};
  std::thread thread_;
};

}  // namespace orvanel::test
