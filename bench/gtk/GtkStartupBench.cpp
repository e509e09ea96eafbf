// Time from process start to the prompt window being mapped, on an X server of the
// benchmark's own (Xvfb), for orvanel opening a file and, in the same run and
// alternating with it, for a minimal GTK 3 program showing the same widgets: what GTK
// itself costs. Goal: orvanel within 1.2 times the floor.
// Usage: gtk_bench [ROUNDS]   (default 15)
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kMapTimeoutMs = 10000;

pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env,
            int stdoutFd = -1) {
  std::vector<char*> args, settings;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  for (const auto& s : env) settings.push_back(const_cast<char*>(s.c_str()));
  settings.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (stdoutFd < 0) posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, args.data(), settings.data()) != 0)
    pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// Xvfb on a display number it picks; the number, or -1.
int StartXvfb(pid_t& pid) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  pid = Spawn({"/usr/bin/Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0",
               "1280x1024x24", "-nolisten", "tcp"},
              {}, fds[1]);
  close(fds[1]);
  std::string number;
  pollfd wait = {fds[0], POLLIN, 0};
  char c;
  while (pid > 0 && poll(&wait, 1, 15000) == 1 && read(fds[0], &c, 1) == 1 && c != '\n')
    number.push_back(c);
  close(fds[0]);
  return number.empty() ? -1 : std::atoi(number.c_str());
}

// Waits for the next top-level window to be mapped; false after the timeout.
bool WaitForMap(Display* display) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(kMapTimeoutMs);
  while (Clock::now() < deadline) {
    while (XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == MapNotify && event.xmap.event == DefaultRootWindow(display)) return true;
    }
    pollfd wait = {ConnectionNumber(display), POLLIN, 0};
    poll(&wait, 1, 50);
  }
  return false;
}

// Milliseconds from spawning the program to its window being mapped; -1 on failure.
double TimeToWindow(Display* display, const std::vector<std::string>& argv,
                    const std::vector<std::string>& env) {
  const auto start = Clock::now();
  const pid_t pid = Spawn(argv, env);
  if (pid < 0) return -1;
  const bool mapped = WaitForMap(display);
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  XSync(display, True);  // the window's unmapping is not the next one's map
  return mapped ? ms : -1;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  pid_t xvfb = -1;
  const int number = StartXvfb(xvfb);
  if (number < 0) {
    std::fprintf(stderr, "Xvfb did not start (install xvfb: scripts/install-deps.sh)\n");
    return 1;
  }
  const std::string displayName = ":" + std::to_string(number);
  Display* display = XOpenDisplay(displayName.c_str());
  if (!display) {
    std::fprintf(stderr, "cannot open %s\n", displayName.c_str());
    kill(xvfb, SIGTERM);
    return 1;
  }
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);

  char folderTemplate[] = "/tmp/orvanel-gtk-bench-XXXXXX";
  const std::string folder = mkdtemp(folderTemplate);
  std::filesystem::create_directories(folder + "/data/Orvanel");
  const std::string file = folder + "/report.xyz";
  std::fclose(std::fopen(file.c_str(), "w"));
  const std::vector<std::string> env = {"DISPLAY=" + displayName,
                                        "NO_AT_BRIDGE=1",
                                        "GDK_BACKEND=x11",
                                        "HOME=" + folder,
                                        "PATH=/usr/bin:/bin",
                                        "ORVANEL_REGISTRY=" + folder + "/registry.db",
                                        "XDG_DATA_HOME=" + folder + "/data",
                                        "ORVANEL_INFO_SITE=http://127.0.0.1:9",
                                        "ORVANEL_DOWNLOAD_SITE=http://127.0.0.1:9"};

  std::vector<double> floor, orvanel;
  bool failed = false;
  for (int i = 0; i < rounds + 1 && !failed; ++i) {
    const double f = TimeToWindow(display, {ORVANEL_FLOOR_PROGRAM}, env);
    const double o = TimeToWindow(display, {ORVANEL_PROGRAM, file}, env);
    failed = f < 0 || o < 0;
    if (i == 0) continue;  // the first round warms the file cache
    floor.push_back(f);
    orvanel.push_back(o);
  }
  XCloseDisplay(display);
  kill(xvfb, SIGTERM);
  waitpid(xvfb, nullptr, 0);
  std::filesystem::remove_all(folder);
  if (failed) {
    std::fprintf(stderr, "a window was not mapped within %d ms\n", kMapTimeoutMs);
    return 1;
  }

  const double floorMedian = Median(floor), orvanelMedian = Median(orvanel);
  std::printf("process start to prompt window mapped, Xvfb, %d rounds (median, min):\n", rounds);
  std::printf("  floor (minimal GTK 3 dialog)  %7.1f ms  %7.1f ms\n", floorMedian,
              *std::min_element(floor.begin(), floor.end()));
  std::printf("  orvanel report.xyz            %7.1f ms  %7.1f ms\n", orvanelMedian,
              *std::min_element(orvanel.begin(), orvanel.end()));
  const double ratio = orvanelMedian / floorMedian;
  std::printf("  ratio %.2f (goal: at most 1.20) %s\n", ratio, ratio <= 1.2 ? "met" : "MISSED");
  return 0;
}
