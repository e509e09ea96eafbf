#include "XvfbDisplay.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace orvanel::test {
namespace {

constexpr int kStartSeconds = 15;

// The number Xvfb writes to the descriptor given with -displayfd once it accepts
// connections; empty when it did not within the time.
std::string ReadDisplayNumber(int fd) {
  std::string number;
  pollfd wait = {fd, POLLIN, 0};
  while (poll(&wait, 1, kStartSeconds * 1000) == 1) {
    char c;
    if (read(fd, &c, 1) != 1) break;
    if (c == '\n') return number;
    number.push_back(c);
  }
  return "";
}

}  // namespace

std::string RequireProgram(const std::string& program, const std::string& package) {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path ? path : "/usr/bin:/bin");
  for (std::string folder; std::getline(folders, folder, ':');) {
    const std::string candidate = folder + "/" + program;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  throw std::runtime_error(program + " is missing: install " + package +
                           " (scripts/install-deps.sh does)");
}

XvfbDisplay::XvfbDisplay() {
  const std::string xvfb = RequireProgram("Xvfb", "xvfb");
  int pipeFds[2];
  if (pipe(pipeFds) != 0) throw std::runtime_error("pipe failed");
  const std::string fd = std::to_string(pipeFds[1]);
  std::vector<std::string> argv = {xvfb, "-displayfd",   fd,          "-screen",
                                   "0",  "1280x1024x24", "-nolisten", "tcp"};
  std::vector<char*> args;
  for (auto& a : argv) args.push_back(a.data());
  args.push_back(nullptr);
  // Only async-signal-safe calls between fork and exec: the test may run threads.
  pid_ = fork();
  if (pid_ == 0) {
    // The server ends with the test, even one killed at its time limit. (With the
    // thread that started it, to be exact: the first use is on the main thread.)
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    close(pipeFds[0]);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    execv(xvfb.c_str(), args.data());
    _exit(127);
  }
  const bool failed = pid_ < 0;
  close(pipeFds[1]);
  const std::string number = failed ? "" : ReadDisplayNumber(pipeFds[0]);
  close(pipeFds[0]);
  if (number.empty()) {
    if (!failed) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    throw std::runtime_error("Xvfb did not start");
  }
  name_ = ":" + number;
  RequireProgram("xdotool", "xdotool");
}

XvfbDisplay::~XvfbDisplay() {
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
}

RunResult XvfbDisplay::XdoTool(const std::vector<std::string>& arguments,
                               int timeoutSeconds) const {
  std::vector<std::string> argv = {RequireProgram("xdotool", "xdotool")};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  RunOptions options;
  options.env = {{"DISPLAY", name_}};
  options.timeoutSeconds = timeoutSeconds;
  return Run(argv, options);
}

std::string XvfbDisplay::WaitForWindow(const std::string& title, int timeoutSeconds) const {
  // xdotool waits with --sync; `timeout` bounds that wait.
  std::vector<std::string> argv = {RequireProgram("timeout", "coreutils"),
                                   std::to_string(timeoutSeconds),
                                   RequireProgram("xdotool", "xdotool"),
                                   "search",
                                   "--sync",
                                   "--onlyvisible",
                                   "--name",
                                   "^" + title + "$"};
  RunOptions options;
  options.env = {{"DISPLAY", name_}};
  options.timeoutSeconds = timeoutSeconds + 5;
  const RunResult result = Run(argv, options);
  if (result.exitCode != 0) return "";
  return result.out.substr(0, result.out.find('\n'));
}

bool XvfbDisplay::HasWindow(const std::string& title) const {
  const RunResult result = XdoTool({"search", "--onlyvisible", "--name", "^" + title + "$"});
  return result.exitCode == 0 && !result.out.empty();
}

RunResult XvfbDisplay::SendKeys(const std::string& window,
                                const std::vector<std::string>& keys) const {
  std::vector<std::string> arguments = {"windowfocus", "--sync", window, "key", "--delay", "20"};
  arguments.insert(arguments.end(), keys.begin(), keys.end());
  return XdoTool(arguments);
}

std::string XvfbDisplay::Screenshot(const std::string& window, const std::string& name) const {
  const std::string folder = BuildDir() + "/screenshots";
  mkdir(folder.c_str(), 0755);
  const std::string path = folder + "/" + name + ".png";
  RunOptions options;
  options.env = {{"DISPLAY", name_}};
  const RunResult result =
      Run({RequireProgram("import", "imagemagick"), "-window", window, path}, options);
  if (result.exitCode != 0) throw std::runtime_error("import failed: " + result.err);
  return path;
}

XvfbDisplay& TestDisplay() {
  static XvfbDisplay display;
  return display;
}

}  // namespace orvanel::test
