#include "LocalSite.h"

#include <chrono>
#include <stdexcept>

namespace orvanel::test {

LocalSite::LocalSite() {
  server_.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
    Handle(request, response);
  });
  port_ = server_.bind_to_any_port("127.0.0.1");
  if (port_ <= 0) throw std::runtime_error("the local site cannot listen on loopback");
  // The socket already listens, so requests made before the loop runs just wait.
  thread_ = std::thread([this] { server_.listen_after_bind(); });
  // Stopping works only once the loop runs; a site torn down early would hang.
  while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

LocalSite::~LocalSite() {
  server_.stop();
  thread_.join();
}

std::string LocalSite::Base() const { return "http://127.0.0.1:" + std::to_string(port_); }

void LocalSite::Serve(const std::string& path, const std::string& body, int status) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_[path] = Answer{body, status, body.size()};
}

void LocalSite::ServeBroken(const std::string& path, const std::string& sent,
                            size_t declaredLength) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_[path] = Answer{sent, 200, declaredLength};
}

std::vector<std::string> LocalSite::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void LocalSite::Handle(const httplib::Request& request, httplib::Response& response) {
  Answer answer;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(request.target);
    const auto found = answers_.find(request.path);
    if (found == answers_.end()) {
      response.status = 404;
      response.set_content("<html><body>Not Found</body></html>", "text/html");
      return;
    }
    answer = found->second;
  }
  response.status = answer.status;
  if (answer.declaredLength == answer.body.size()) {
    response.set_content(answer.body, "application/octet-stream");
    return;
  }
  response.set_content_provider(
      answer.declaredLength, "application/octet-stream",
      [body = answer.body](size_t offset, size_t, httplib::DataSink& sink) {
        if (offset >= body.size()) return false;  // drops the connection
        sink.write(body.data() + offset, body.size() - offset);
        return true;
      });
}

}  // namespace orvanel::test
