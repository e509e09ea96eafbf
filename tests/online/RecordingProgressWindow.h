// A progress window that remembers every position it was given, and lets a test
// wait until a position has arrived.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "platform/Ui.h"

namespace orvanel::test {

class RecordingProgressWindow : public platform::ui::ProgressWindow {
 public:
  void SetPosition(int position) override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      positions_.push_back(position);
    }
    changed_.notify_all();
  }
  void Close() override {}

  std::vector<int> Positions() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return positions_;
  }

  // True once `position` has been set; false after a few seconds without it.
  bool WaitFor(int position) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(5), [&] {
      for (int seen : positions_)
        if (seen == position) return true;
      return false;
    });
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<int> positions_;
};

}  // namespace orvanel::test
