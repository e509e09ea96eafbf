#include "StreamCapture.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

namespace orvanel::test {

StreamCapture::StreamCapture(int stream) : stream_(stream) {
  const int file = open((dir_ / "stream").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (file < 0) throw std::runtime_error("cannot create the capture file");
  Redirect(file);
  close(file);
}

StreamCapture::StreamCapture(int stream, int target) : stream_(stream) { Redirect(target); }

StreamCapture::~StreamCapture() {
  std::fflush(nullptr);
  dup2(saved_, stream_);
  close(saved_);
}

void StreamCapture::Redirect(int target) {
  std::fflush(nullptr);
  saved_ = dup(stream_);
  if (saved_ < 0 || dup2(target, stream_) < 0) throw std::runtime_error("cannot capture");
}

std::string StreamCapture::Text() const {
  std::fflush(nullptr);
  return ReadFile(dir_ / "stream");
}

}  // namespace orvanel::test
