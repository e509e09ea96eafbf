#include "StreamCapture.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

namespace orvanel::test {

StreamCapture::StreamCapture(int descriptor) : descriptor_(descriptor) {
  std::fflush(nullptr);
  const int file = open((dir_ / "stream").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  saved_ = dup(descriptor_);
  if (file < 0 || saved_ < 0 || dup2(file, descriptor_) < 0) throw std::runtime_error("cannot capture");
  close(file);
}

StreamCapture::~StreamCapture() {
  std::fflush(nullptr);
  dup2(saved_, descriptor_);
  close(saved_);
}

std::string StreamCapture::Text() const {
  std::fflush(nullptr);
  return ReadFile(dir_ / "stream");
}

}  // namespace orvanel::test
