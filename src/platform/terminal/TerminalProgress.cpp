// The progress window of the terminal frontend. The caption goes to standard error,
// then a bar that is redrawn in place when standard error is a terminal; otherwise
// (a log, a pipe) one line per ten percent reached, so the output stays short.
//
// The window belongs to the thread in RunProgressWindow. Other threads reach it
// through a small message queue and wait until their message has been handled, as
// with a window message sent synchronously.
#include <unistd.h>

#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/terminal/TerminalFrontend.h"
#include "platform/terminal/TerminalText.h"

namespace orvanel::platform::terminal {

using ui::ProgressWindow;
namespace {

constexpr int kBarWidth = 40;

// What is shown: the bar or the ten-percent lines.
class ProgressDisplay {
 public:
  ProgressDisplay() : interactive_(isatty(STDERR_FILENO) == 1), shown_(interactive_ ? -1 : 0) {}

  void Show(int position) {
    if (position < 0) position = 0;
    if (position > 100) position = 100;
    if (interactive_) {
      if (position == shown_) return;
      shown_ = position;
      const int filled = position * kBarWidth / 100;
      std::fprintf(stderr, "\r[%s%s] %3d%%", std::string(filled, '#').c_str(),
                   std::string(kBarWidth - filled, ' ').c_str(), position);
    } else {
      const int tenth = position / 10 * 10;
      if (tenth <= shown_) return;
      shown_ = tenth;
      std::fprintf(stderr, "%d%%\n", tenth);
    }
    std::fflush(stderr);
  }

  void Finish() {
    if (interactive_ && shown_ >= 0) {
      std::fputc('\n', stderr);
      std::fflush(stderr);
    }
  }

 private:
  bool interactive_;
  // Interactive: the position drawn (-1: none yet). Otherwise: the last tenth
  // written; the caption line stands for the start at 0.
  int shown_;
};

struct Message {
  enum class Kind { SetPosition, Close } kind;
  int position = 0;
  uint64_t number = 0;
};

// The queue between the senders and the window's thread. Senders hold it through a
// shared pointer, so a sender woken after the window has gone touches nothing freed.
class MessageQueue {
 public:
  // Queues the message and waits until it has been handled, or the window closed.
  void Send(Message message) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (closed_) return;
    message.number = ++sent_;
    queue_.push_back(message);
    arrived_.notify_one();
    handled_.wait(lock, [&] { return closed_ || handledUpTo_ >= message.number; });
  }

  Message Next() {
    std::unique_lock<std::mutex> lock(mutex_);
    arrived_.wait(lock, [&] { return !queue_.empty(); });
    Message message = queue_.front();
    queue_.pop_front();
    return message;
  }

  void MarkHandled(const Message& message) {
    std::lock_guard<std::mutex> lock(mutex_);
    handledUpTo_ = message.number;
    if (message.kind == Message::Kind::Close) closed_ = true;
    handled_.notify_all();
  }

  // The window ended without a Close message; nobody may wait for it any more.
  void Abandon() {
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
    handled_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::condition_variable handled_;
  std::deque<Message> queue_;
  uint64_t sent_ = 0;
  uint64_t handledUpTo_ = 0;
  bool closed_ = false;
};

class TerminalProgressWindow : public ProgressWindow {
 public:
  TerminalProgressWindow()
      : queue_(std::make_shared<MessageQueue>()), owner_(std::this_thread::get_id()) {}

  void SetPosition(int position) override { Deliver({Message::Kind::SetPosition, position}); }
  void Close() override { Deliver({Message::Kind::Close, 0}); }

  // Handles messages until the window is closed.
  void Run() {
    for (;;) {
      const Message message = queue_->Next();
      const bool closing = Handle(message);
      queue_->MarkHandled(message);
      if (closing) return;
    }
  }

  void Abandon() { queue_->Abandon(); }

  bool Closed() const { return closedHere_; }

 private:
  void Deliver(const Message& message) {
    if (std::this_thread::get_id() == owner_) {
      // The window's own thread handles its message at once, as a window procedure
      // called directly would; the loop then sees the window closed.
      Handle(message);
      return;
    }
    std::shared_ptr<MessageQueue> queue = queue_;  // kept alive past this object
    queue->Send(message);
  }

  // True when the message closes the window.
  bool Handle(const Message& message) {
    if (closedHere_) return true;
    if (message.kind == Message::Kind::SetPosition) {
      display_.Show(message.position);
      return false;
    }
    display_.Finish();
    closedHere_ = true;
    return true;
  }

  std::shared_ptr<MessageQueue> queue_;
  std::thread::id owner_;
  ProgressDisplay display_;
  bool closedHere_ = false;
};

}  // namespace

void RunProgressWindow(const Text& caption, const std::function<void(ProgressWindow&)>& started) {
  std::fprintf(stderr, "%s\n", TerminalText(caption).c_str());
  std::fflush(stderr);
  TerminalProgressWindow window;
  started(window);
  if (!window.Closed()) window.Run();
  window.Abandon();
}

}  // namespace orvanel::platform::terminal
