// A download site on loopback for the tests: a real HTTP server in its own thread
// that answers the paths it was given and records every request.
#pragma once

#include <httplib.h>

#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace orvanel::test {

class LocalSite {
 public:
  LocalSite();
  ~LocalSite();
  LocalSite(const LocalSite&) = delete;
  LocalSite& operator=(const LocalSite&) = delete;

  // "http://127.0.0.1:<port>", no trailing slash.
  std::string Base() const;

  // Answers GET `path` with `body` and `status`. Other paths get a 404 page.
  void Serve(const std::string& path, const std::string& body, int status = 200);

  // Answers GET `path` with a declared length of `declaredLength` bytes, sends only
  // `sent` and then drops the connection: a transfer broken off halfway.
  void ServeBroken(const std::string& path, const std::string& sent, size_t declaredLength);

  // The paths requested so far, in order, each with its query when it had one.
  std::vector<std::string> Requests() const;

 private:
  struct Answer {
    std::string body;
    int status = 200;
    size_t declaredLength = 0;  // above body.size(): the connection drops after body
  };

  void Handle(const httplib::Request& request, httplib::Response& response);

  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::map<std::string, Answer> answers_;
  std::vector<std::string> requests_;
};

}  // namespace orvanel::test
