// Sends the process's standard error into a file (or a given descriptor) for as
// long as it lives, so that tests can read what a frontend wrote there.
#pragma once

#include <string>

#include "TestSupport.h"

namespace orvanel::test {

class StderrCapture {
 public:
  StderrCapture();                         // into a temporary file
  explicit StderrCapture(int descriptor);  // onto this descriptor (e.g. a terminal)
  ~StderrCapture();
  StderrCapture(const StderrCapture&) = delete;
  StderrCapture& operator=(const StderrCapture&) = delete;

  // What has been written so far (temporary file only).
  std::string Text() const;

 private:
  void Redirect(int descriptor);

  TempDir dir_;
  int saved_ = -1;
};

}  // namespace orvanel::test
