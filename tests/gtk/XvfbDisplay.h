// An X server of the test's own (Xvfb, on a display number that it picks itself, so
// that tests running side by side never meet), and the tools that drive it: xdotool
// for keys and clicks, ImageMagick's import for screenshots. A missing tool fails the
// test with a message saying which; nothing is skipped.
#pragma once

#include <sys/types.h>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace orvanel::test {

class XvfbDisplay {
 public:
  XvfbDisplay();  // throws std::runtime_error when Xvfb is missing or does not start
  ~XvfbDisplay();
  XvfbDisplay(const XvfbDisplay&) = delete;
  XvfbDisplay& operator=(const XvfbDisplay&) = delete;

  // ":N", for DISPLAY.
  const std::string& name() const { return name_; }

  // Runs xdotool with `arguments` on this display.
  RunResult XdoTool(const std::vector<std::string>& arguments, int timeoutSeconds = 15) const;

  // Waits up to `timeoutSeconds` for a visible window whose title is exactly `title`
  // and returns its id; empty when none came.
  std::string WaitForWindow(const std::string& title, int timeoutSeconds = 10) const;

  // Whether a visible window has exactly this title now.
  bool HasWindow(const std::string& title) const;

  // Gives the window the keyboard focus and sends it the keys (xdotool key names).
  RunResult SendKeys(const std::string& window, const std::vector<std::string>& keys) const;

  // Writes a PNG of the window under the build folder ("screenshots/<name>.png") and
  // returns its path; throws when import fails.
  std::string Screenshot(const std::string& window, const std::string& name) const;

 private:
  pid_t pid_ = -1;
  std::string name_;
};

// The one display of this test process: GTK opens a display once per process, so
// every test of a program shares it. Started on first use, stopped at exit.
XvfbDisplay& TestDisplay();

// The path of a program on PATH; throws std::runtime_error naming the package when
// it is missing.
std::string RequireProgram(const std::string& program, const std::string& package);

}  // namespace orvanel::test
