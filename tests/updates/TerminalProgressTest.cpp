#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "StreamCapture.h"
#include "platform/terminal/TerminalFrontend.h"

namespace orvanel::test {
namespace {

using platform::ui::ProgressWindow;
using platform::terminal::RunProgressWindow;

// Runs the window while a second thread does `work` with it, as the download
// worker does; the thread is joined after the window has ended.
template <typename Work>
void RunWithWorker(const std::u16string& caption, Work work) {
  std::thread worker;
  RunProgressWindow(caption, [&](ProgressWindow& window) {
    worker = std::thread([&window, work] { work(window); });
  });
  worker.join();
}

TEST(TerminalProgressTest, WithoutTerminalWritesTheCaptionThenOneLinePerTenPercent) {
  StreamCapture capture(STDERR_FILENO);
  RunWithWorker(u"Orvanel Update", [](ProgressWindow& window) {
    for (int position = 0; position <= 100; ++position) window.SetPosition(position);
    window.SetPosition(100);  // repeated: nothing new
    window.Close();
  });
  EXPECT_EQ(capture.Text(), "Orvanel Update\n10%\n20%\n30%\n40%\n50%\n60%\n70%\n80%\n90%\n100%\n");
}

TEST(TerminalProgressTest, ATenthSkippedOverIsNotWrittenLater) {
  StreamCapture capture(STDERR_FILENO);
  RunWithWorker(u"Orvanel Update", [](ProgressWindow& window) {
    window.SetPosition(28);
    window.SetPosition(35);
    window.SetPosition(100);
    window.Close();
  });
  EXPECT_EQ(capture.Text(), "Orvanel Update\n20%\n30%\n100%\n");
}

TEST(TerminalProgressTest, EachCallReturnsOnlyOnceTheWindowHasHandledIt) {
  StreamCapture capture(STDERR_FILENO);
  std::vector<std::string> seenAfterCall;
  RunWithWorker(u"Orvanel Update", [&](ProgressWindow& window) {
    for (int position : {10, 40, 70}) {
      window.SetPosition(position);
      seenAfterCall.push_back(capture.Text());
    }
    window.Close();
  });
  ASSERT_EQ(seenAfterCall.size(), 3u);
  EXPECT_EQ(seenAfterCall[0], "Orvanel Update\n10%\n");
  EXPECT_EQ(seenAfterCall[1], "Orvanel Update\n10%\n40%\n");
  EXPECT_EQ(seenAfterCall[2], "Orvanel Update\n10%\n40%\n70%\n");
}

TEST(TerminalProgressTest, StartedRunsOnTheCallingThreadAndMayCloseAtOnce) {
  StreamCapture capture(STDERR_FILENO);
  const std::thread::id caller = std::this_thread::get_id();
  std::thread::id startedOn;
  RunProgressWindow(u"Orvanel Update", [&](ProgressWindow& window) {
    startedOn = std::this_thread::get_id();
    window.SetPosition(50);
    window.Close();
    window.SetPosition(90);  // after the close: nothing more is shown
  });
  EXPECT_EQ(startedOn, caller);
  EXPECT_EQ(capture.Text(), "Orvanel Update\n50%\n");
}

// A pseudo-terminal's reading side, drained by a thread so the writer never blocks.
class TerminalReader {
 public:
  TerminalReader() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
    terminal_ = open(ptsname(master_), O_RDWR | O_NOCTTY);
    drain_ = std::thread([this] {
      char buffer[512];
      for (;;) {
        pollfd wait{master_, POLLIN, 0};
        if (poll(&wait, 1, 100) <= 0) {
          if (done_) return;
          continue;
        }
        const ssize_t n = read(master_, buffer, sizeof buffer);
        if (n <= 0) return;
        text_.append(buffer, static_cast<size_t>(n));
      }
    });
  }
  ~TerminalReader() {
    done_ = true;
    if (drain_.joinable()) drain_.join();
    if (terminal_ >= 0) close(terminal_);
    if (master_ >= 0) close(master_);
  }
  int terminal() const { return terminal_; }

  // Everything written to the terminal, once the drain has caught up.
  std::string Finish() {
    done_ = true;
    if (drain_.joinable()) drain_.join();
    return text_;
  }

 private:
  int master_ = -1;
  int terminal_ = -1;
  std::atomic<bool> done_{false};
  std::thread drain_;
  std::string text_;
};

TEST(TerminalProgressTest, OnATerminalTheBarIsRedrawnInPlace) {
  TerminalReader reader;
  ASSERT_GE(reader.terminal(), 0) << "no pseudo-terminal available";
  {
    StreamCapture onTerminal(STDERR_FILENO, reader.terminal());
    RunWithWorker(u"Orvanel Update", [](ProgressWindow& window) {
      window.SetPosition(0);
      window.SetPosition(50);
      window.SetPosition(50);  // unchanged: not drawn again
      window.SetPosition(100);
      window.Close();
    });
  }
  // Each drawing returns to the line's start; the terminal turns a line feed into CR LF.
  const auto bar = [](int filled, const std::string& percent) {
    return "\r[" + std::string(filled, '#') + std::string(40 - filled, ' ') + "] " + percent;
  };
  EXPECT_EQ(reader.Finish(),
            "Orvanel Update\r\n" + bar(0, "  0%") + bar(20, " 50%") + bar(40, "100%") + "\r\n");
}

}  // namespace
}  // namespace orvanel::test
