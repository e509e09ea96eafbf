#include "LoopbackSite.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <stdexcept>

namespace orvanel::test {
namespace {

constexpr const char* kBinary = "application/octet-stream";

}  // namespace

LoopbackSite::LoopbackSite() {
  server_.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
    Handle(request, response);
  });
  port_ = server_.bind_to_any_port("127.0.0.1");
  if (port_ <= 0) throw std::runtime_error("the loopback site cannot listen");
  // The socket listens already; requests made before the loop runs just wait.
  thread_ = std::thread([this] { server_.listen_after_bind(); });
  // Stopping a server whose loop has not started yet does not stop it.
  while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

LoopbackSite::~LoopbackSite() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    released_ = true;
  }
  releasedChanged_.notify_all();
  server_.stop();
  thread_.join();
}

std::string LoopbackSite::Base() const { return "http://127.0.0.1:" + std::to_string(port_); }

void LoopbackSite::Serve(const std::string& path, const std::string& body, int status) {
  std::lock_guard<std::mutex> lock(mutex_);
  handlers_[path] = [body, status](httplib::Response& response) {
    response.status = status;
    response.set_content(body, kBinary);
  };
}

void LoopbackSite::ServeInParts(const std::string& path, const std::vector<std::string>& parts,
                                std::function<void(size_t)> afterPart) {
  size_t total = 0;
  for (const auto& part : parts) total += part.size();
  std::lock_guard<std::mutex> lock(mutex_);
  handlers_[path] = [parts, total, afterPart](httplib::Response& response) {
    auto sentParts = std::make_shared<size_t>(0);
    response.set_content_provider(
        total, kBinary, [parts, afterPart, sentParts](size_t, size_t, httplib::DataSink& sink) {
          if (*sentParts == parts.size()) return true;
          const std::string& part = parts[(*sentParts)++];
          if (!sink.write(part.data(), part.size())) return false;
          afterPart(*sentParts);
          return true;
        });
  };
}

void LoopbackSite::ServeUnsized(const std::string& path, const std::string& body) {
  std::lock_guard<std::mutex> lock(mutex_);
  handlers_[path] = [body](httplib::Response& response) {
    response.set_chunked_content_provider(kBinary, [body](size_t offset, httplib::DataSink& sink) {
      // Small chunks, so that the client sees several of them.
      if (offset < body.size()) {
        const size_t length = std::min<size_t>(16, body.size() - offset);
        sink.write(body.data() + offset, length);
      } else {
        sink.done();
      }
      return true;
    });
  };
}

void LoopbackSite::ServeBroken(const std::string& path, const std::string& sent,
                               size_t declaredLength) {
  std::lock_guard<std::mutex> lock(mutex_);
  handlers_[path] = [sent, declaredLength](httplib::Response& response) {
    response.set_content_provider(
        declaredLength, kBinary, [sent](size_t offset, size_t, httplib::DataSink& sink) {
          if (offset >= sent.size()) return false;  // drops the connection
          sink.write(sent.data() + offset, sent.size() - offset);
          return true;
        });
  };
}

void LoopbackSite::ServeStalled(const std::string& path, const std::string& sent,
                                size_t declaredLength) {
  std::lock_guard<std::mutex> lock(mutex_);
  handlers_[path] = [this, sent, declaredLength](httplib::Response& response) {
    response.set_content_provider(
        declaredLength, kBinary, [this, sent](size_t offset, size_t, httplib::DataSink& sink) {
          if (offset >= sent.size()) {
            WaitUntilReleased();
            return false;
          }
          sink.write(sent.data() + offset, sent.size() - offset);
          return true;
        });
  };
}

void LoopbackSite::ServeSilent(const std::string& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  handlers_[path] = [this](httplib::Response& response) {
    WaitUntilReleased();
    response.status = 503;
  };
}

void LoopbackSite::ServeRedirect(const std::string& path, int status, const std::string& location,
                                 const std::string& body) {
  std::lock_guard<std::mutex> lock(mutex_);
  handlers_[path] = [status, location, body](httplib::Response& response) {
    response.status = status;
    response.set_header("Location", location);
    response.set_content(body, "text/html");
  };
}

void LoopbackSite::ServeEndless(const std::string& path, const std::string& piece,
                                std::chrono::milliseconds interval) {
  std::lock_guard<std::mutex> lock(mutex_);
  handlers_[path] = [this, piece, interval](httplib::Response& response) {
    response.set_chunked_content_provider(kBinary, [this, piece, interval](size_t,
                                                                          httplib::DataSink& sink) {
      if (WaitReleasedFor(interval)) return false;
      return sink.write(piece.data(), piece.size());
    });
  };
}

std::vector<std::string> LoopbackSite::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void LoopbackSite::Handle(const httplib::Request& request, httplib::Response& response) {
  Handler handler;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(request.target);
    const auto found = handlers_.find(request.path);
    if (found != handlers_.end()) handler = found->second;
  }
  if (handler) {
    handler(response);
  } else {
    response.status = 404;
    response.set_content("<html><body>Not Found</body></html>", "text/html");
  }
}

bool LoopbackSite::WaitReleasedFor(std::chrono::milliseconds interval) {
  std::unique_lock<std::mutex> lock(mutex_);
  return releasedChanged_.wait_for(lock, interval, [this] { return released_; });
}

void LoopbackSite::WaitUntilReleased() {
  std::unique_lock<std::mutex> lock(mutex_);
  releasedChanged_.wait(lock, [this] { return released_; });
}

RefusingPort::RefusingPort() : socket_(socket(AF_INET, SOCK_STREAM, 0)) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (socket_ < 0 || bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    throw std::runtime_error("no loopback port to refuse connections on");
  }
  port_ = ntohs(address.sin_port);
}

RefusingPort::~RefusingPort() {
  if (socket_ >= 0) close(socket_);
}

}  // namespace orvanel::test
