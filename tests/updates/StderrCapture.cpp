#include "StderrCapture.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

namespace orvanel::test {

StderrCapture::StderrCapture() {
  const int file = open((dir_ / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (file < 0) throw std::runtime_error("cannot create the capture file");
  Redirect(file);
  close(file);
}

StderrCapture::StderrCapture(int descriptor) { Redirect(descriptor); }

StderrCapture::~StderrCapture() {
  std::fflush(stderr);
  dup2(saved_, STDERR_FILENO);
  close(saved_);
}

void StderrCapture::Redirect(int descriptor) {
  std::fflush(stderr);
  saved_ = dup(STDERR_FILENO);
  dup2(descriptor, STDERR_FILENO);
}

std::string StderrCapture::Text() const {
  std::fflush(stderr);
  return ReadFile(dir_ / "stderr");
}

}  // namespace orvanel::test
