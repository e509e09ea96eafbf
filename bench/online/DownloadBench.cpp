// Throughput of a file download through HttpDownloadFile, with the terminal
// progress window attached and the transfer on a worker thread as in the update
// dialog, against the curl command-line tool fetching the same URL to a file.
// Each is run a few times, in alternating order; the best time of each counts.
// Usage: online_bench [MEBIBYTES] [ROUNDS]   (default 256 and 5)
#include <httplib.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "online/HttpTransfer.h"
#include "platform/Ui.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

long long FileSize(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : -1;
}

// The body comes from one mebibyte of pattern sent again and again, so the server
// neither holds nor builds the whole body.
class BodySite {
 public:
  explicit BodySite(size_t length) : pattern_(1 << 20, '\0') {
    for (size_t i = 0; i < pattern_.size(); ++i) pattern_[i] = static_cast<char>(i * 131 % 251);
    server_.Get("/installer.exe", [this, length](const httplib::Request&, httplib::Response& response) {
      response.set_content_provider(length, "application/octet-stream",
                                    [this, length](size_t offset, size_t, httplib::DataSink& sink) {
                                      const size_t at = offset % pattern_.size();
                                      const size_t count = std::min(pattern_.size() - at, length - offset);
                                      return sink.write(pattern_.data() + at, count);
                                    });
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~BodySite() {
    server_.stop();
    thread_.join();
  }
  std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/installer.exe"; }
  bool ok() const { return port_ > 0; }

 private:
  std::string pattern_;
  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
};

// Seconds for `curl -s -o file url`, or a negative number when it failed.
double TimeCurl(const std::string& url, const std::string& file) {
  const char* argv[] = {"curl", "-s", "-o", file.c_str(), url.c_str(), nullptr};
  const auto start = Clock::now();
  pid_t pid = 0;
  if (posix_spawnp(&pid, "curl", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  const double seconds = Since(start);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1;
}

// Seconds for HttpDownloadFile run from a worker while the progress window runs.
double TimeOrvanel(const std::string& url, const std::string& file) {
  bool ok = false;
  const auto start = Clock::now();
  std::thread worker;
  orvanel::platform::ui::RunProgressWindow(u"Orvanel", [&](orvanel::platform::ui::ProgressWindow& window) {
    worker = std::thread([&] {
      ok = orvanel::HttpDownloadFile(orvanel::AsciiText(url.c_str()), orvanel::AsciiText(file.c_str()), &window);
      window.Close();
    });
  });
  worker.join();
  const double seconds = Since(start);
  return ok ? seconds : -1;
}

}  // namespace

int main(int argc, char** argv) {
  const long mebibytes = argc > 1 ? std::atol(argv[1]) : 256;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
  const size_t length = static_cast<size_t>(mebibytes) << 20;
  setenv("ORVANEL_FRONTEND", "terminal", 1);

  char folder[] = "/tmp/orvanel-online-bench-XXXXXX";
  if (!mkdtemp(folder)) return 1;
  const std::string curlFile = std::string(folder) + "/curl.out";
  const std::string orvanelFile = std::string(folder) + "/orvanel.out";

  BodySite site(length);
  if (!site.ok()) return 1;
  double bestCurl = 1e300, bestOrvanel = 1e300;
  for (int round = 0; round < rounds; ++round) {
    // Neither run pays for cutting the previous file down; the order alternates.
    unlink(curlFile.c_str());
    unlink(orvanelFile.c_str());
    double curl = 0, orvanel = 0;
    if (round % 2 == 0) {
      curl = TimeCurl(site.Url(), curlFile);
      orvanel = TimeOrvanel(site.Url(), orvanelFile);
    } else {
      orvanel = TimeOrvanel(site.Url(), orvanelFile);
      curl = TimeCurl(site.Url(), curlFile);
    }
    if (curl < 0 || orvanel < 0 || FileSize(curlFile) != static_cast<long long>(length) ||
        FileSize(orvanelFile) != static_cast<long long>(length)) {
      std::fprintf(stderr, "a download failed in round %d\n", round + 1);
      return 1;
    }
    bestCurl = std::min(bestCurl, curl);
    bestOrvanel = std::min(bestOrvanel, orvanel);
  }
  unlink(curlFile.c_str());
  unlink(orvanelFile.c_str());
  rmdir(folder);

  const double megabytes = static_cast<double>(length) / (1 << 20);
  std::printf("download of %ld MiB from loopback, best of %d\n", mebibytes, rounds);
  std::printf("  curl tool:         %8.3f s  %8.1f MiB/s\n", bestCurl, megabytes / bestCurl);
  std::printf("  HttpDownloadFile:  %8.3f s  %8.1f MiB/s  (progress window attached)\n", bestOrvanel,
              megabytes / bestOrvanel);
  const double ratio = bestCurl / bestOrvanel;
  std::printf("  ratio to curl:     %8.2f  (goal >= 0.90) %s\n", ratio, ratio >= 0.9 ? "met" : "NOT MET");
  return 0;
}
