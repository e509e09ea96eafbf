// Sends one of the process's standard streams into a temporary file for as long as
// it lives, so that a test can read exactly what was written there.
#pragma once

#include <string>

#include "TestSupport.h"

namespace orvanel::test {

class StreamCapture {
 public:
  explicit StreamCapture(int descriptor);  // 1 or 2
  ~StreamCapture();
  StreamCapture(const StreamCapture&) = delete;
  StreamCapture& operator=(const StreamCapture&) = delete;

  std::string Text() const;  // what was written so far

 private:
  TempDir dir_;
  int descriptor_;
  int saved_ = -1;
};

}  // namespace orvanel::test
