// Times install ("-i") of a large catalogue into a fresh store and the uninstall
// ("-r") after it, each as a whole orvanel process, next to the floor program, and
// shows the install's peak resident size for a small and a large catalogue.
// Usage: associations_bench [LINES]   (default 100000; must run as root, as the
// install only works in place with administrator rights)
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace {

namespace registry = orvanel::platform::registry;

constexpr int kRounds = 5;

struct Outcome {
  double seconds = 0;
  long peakKilobytes = 0;
  int exitCode = -1;
};

// Runs the program with the settings that keep it off the real store, data folder
// and network, and waits for it.
Outcome RunProcess(const std::vector<std::string>& argv, const std::string& folder) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    setenv("ORVANEL_REGISTRY", (folder + "/registry.db").c_str(), 1);
    setenv("XDG_DATA_HOME", (folder + "/data").c_str(), 1);
    setenv("ORVANEL_DOWNLOAD_SITE", "http://127.0.0.1:9", 1);
    setenv("ORVANEL_INFO_SITE", "http://127.0.0.1:9", 1);
    setenv("ORVANEL_FRONTEND", "terminal", 1);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    if (!freopen("/dev/null", "w", stderr)) _exit(127);
    execv(args[0], args.data());
    _exit(127);
  }
  Outcome outcome;
  int status = 0;
  rusage usage{};
  if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) return outcome;
  outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  outcome.peakKilobytes = usage.ru_maxrss;
  outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return outcome;
}

std::string MakeFolder() {
  char pattern[] = "/tmp/orvanel-bench-XXXXXX";
  if (!mkdtemp(pattern)) {
    std::perror("mkdtemp");
    std::exit(1);
  }
  return pattern;
}

void RemoveFolder(const std::string& folder) {
  std::error_code error;
  std::filesystem::remove_all(folder, error);
}

// A folder with a data folder holding a catalogue of `lines` extensions, or of
// `lines` excluded lines, which install reads but writes nothing for.
std::string PrepareFolder(long lines, bool excluded = false) {
  const std::string folder = MakeFolder();
  mkdir((folder + "/data").c_str(), 0755);
  mkdir((folder + "/data/Orvanel").c_str(), 0755);
  std::FILE* file = std::fopen((folder + "/data/Orvanel/extensions.txt").c_str(), "wb");
  if (!file) std::exit(1);
  std::fputs("extensions\r\n", file);
  for (long i = 0; i < lines; ++i) {
    if (excluded) {
      std::fputs("exe\r\n", file);
    } else {
      std::fprintf(file, "e%ld\r\n", i);
    }
  }
  std::fclose(file);
  return folder;
}

// The default value of the last catalogue extension, read back from the store.
std::u16string LastDefault(const std::string& folder, long lines) {
  setenv("ORVANEL_REGISTRY", (folder + "/registry.db").c_str(), 1);
  registry::Key key;
  const std::u16string path = u".e" + orvanel::AsciiText(std::to_string(lines - 1).c_str());
  if (registry::OpenKey(path, registry::Access::Read, key) != registry::Status::Ok) return u"?";
  char16_t buffer[130] = {};
  uint32_t size = sizeof buffer - sizeof(char16_t);
  if (registry::QueryValue(key, u"", buffer, size, nullptr) != registry::Status::Ok) return u"?";
  return buffer;
}

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "associations bench: %s\n", what);
  std::exit(1);
}

struct Round {
  Outcome install, uninstall, floor;
};

Round MeasureRound(long lines) {
  const std::string orvanel = std::string(ORVANEL_PROGRAM_DIR) + "/orvanel";
  Round round;
  const std::string folder = PrepareFolder(lines);
  round.install = RunProcess({orvanel, "-i"}, folder);
  Check(round.install.exitCode == 0, "install failed");
  Check(LastDefault(folder, lines) == u"Orvanel", "install did not register the catalogue");
  round.uninstall = RunProcess({orvanel, "-r"}, folder);
  Check(round.uninstall.exitCode == 0, "uninstall failed");
  Check(LastDefault(folder, lines).empty(), "uninstall did not unregister the catalogue");
  round.floor =
      RunProcess({ORVANEL_FLOOR_PROGRAM, folder + "/floor.db", std::to_string(2 * lines)}, folder);
  Check(round.floor.exitCode == 0, "floor failed");
  RemoveFolder(folder);
  return round;
}

// Peak resident size of an install that only reads the catalogue.
long ReadingOnlyPeak(long lines) {
  const std::string folder = PrepareFolder(lines, true);
  const Outcome install = RunProcess({std::string(ORVANEL_PROGRAM_DIR) + "/orvanel", "-i"}, folder);
  Check(install.exitCode == 0, "install of excluded lines failed");
  RemoveFolder(folder);
  return install.peakKilobytes;
}

}  // namespace

int main(int argc, char** argv) {
  const long lines = argc > 1 ? std::atol(argv[1]) : 100000;
  if (geteuid() != 0) {
    std::fprintf(stderr, "associations bench: needs root (install writes in place only then)\n");
    return 1;
  }

  // Best of a few rounds: the machine is shared.
  Round best;
  best.install.seconds = best.uninstall.seconds = best.floor.seconds = 1e9;
  for (int i = 0; i < kRounds; ++i) {
    const Round round = MeasureRound(lines);
    best.install.seconds = std::min(best.install.seconds, round.install.seconds);
    best.install.peakKilobytes = round.install.peakKilobytes;
    best.uninstall.seconds = std::min(best.uninstall.seconds, round.uninstall.seconds);
    best.floor.seconds = std::min(best.floor.seconds, round.floor.seconds);
  }
  const Round small = MeasureRound(1000);

  std::printf("associations: catalogue of %ld lines (%ld keys and values)\n", lines, 2 * lines);
  std::printf("  floor (one SQLite transaction)  %7.3f s\n", best.floor.seconds);
  std::printf("  install  (orvanel -i)           %7.3f s   %.2fx floor (goal <= 1.5x)\n",
              best.install.seconds, best.install.seconds / best.floor.seconds);
  std::printf("  uninstall (orvanel -r)          %7.3f s   %.2fx floor (goal <= 1.2x)\n",
              best.uninstall.seconds, best.uninstall.seconds / best.floor.seconds);
  std::printf("  install peak resident size: %ld KiB for 1000 lines, %ld KiB for %ld lines\n",
              small.install.peakKilobytes, best.install.peakKilobytes, lines);
  // Flat in the catalogue's size: the catalogue is streamed and the store's page
  // cache is bounded; this run shows the reading alone.
  std::printf("  install peak resident size, %ld excluded lines (reading only): %ld KiB\n", lines,
              ReadingOnlyPeak(lines));
  return 0;
}
