// Sends one of the process's standard streams into a temporary file (or onto a
// given descriptor, such as a terminal) for as long as it lives, so that a test can
// read exactly what was written there.
#pragma once

#include <string>

#include "TestSupport.h"

namespace orvanel::test {

class StreamCapture {
 public:
  explicit StreamCapture(int stream);  // 1 or 2, into a temporary file
  StreamCapture(int stream, int target);  // onto the target descriptor
  ~StreamCapture();
  StreamCapture(const StreamCapture&) = delete;
  StreamCapture& operator=(const StreamCapture&) = delete;

  std::string Text() const;  // what was written so far (temporary file only)

 private:
  void Redirect(int target);

  TempDir dir_;
  int stream_;
  int saved_ = -1;
};

}  // namespace orvanel::test
