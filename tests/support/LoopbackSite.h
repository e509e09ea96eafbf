// A site on loopback for the tests: a real HTTP server in its own thread
// that answers the paths it was given in the ways a real site can behave, good
// and bad, and records every request.
#pragma once

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace orvanel::test {

class LoopbackSite {
 public:
  LoopbackSite();
  ~LoopbackSite();  // releases stalled answers first
  LoopbackSite(const LoopbackSite&) = delete;
  LoopbackSite& operator=(const LoopbackSite&) = delete;

  // "http://127.0.0.1:<port>", no trailing slash.
  std::string Base() const;

  // Answers with `body`, its length declared. Unknown paths get a 404 page.
  void Serve(const std::string& path, const std::string& body, int status = 200);

  // Sends the parts one after the other, the whole length declared up front, and
  // calls `afterPart(n)` once n parts are on their way.
  void ServeInParts(const std::string& path, const std::vector<std::string>& parts,
                    std::function<void(size_t)> afterPart);

  // Answers without a declared length (chunked).
  void ServeUnsized(const std::string& path, const std::string& body);

  // Declares `declaredLength`, sends `sent`, then drops the connection.
  void ServeBroken(const std::string& path, const std::string& sent, size_t declaredLength);

  // Declares `declaredLength`, sends `sent`, then sends nothing more until the site ends.
  void ServeStalled(const std::string& path, const std::string& sent, size_t declaredLength);

  // Accepts the request and never answers it until the site ends.
  void ServeSilent(const std::string& path);

  // A redirect: `status` (3xx) with a Location header naming `location`, and `body`.
  void ServeRedirect(const std::string& path, int status, const std::string& location,
                     const std::string& body);

  // An answer that never ends: `piece` every `interval`, without a declared length,
  // until the site ends. A zero interval sends as fast as the client takes it.
  void ServeEndless(const std::string& path, const std::string& piece,
                    std::chrono::milliseconds interval);

  // The targets requested so far (path with its query), in order.
  std::vector<std::string> Requests() const;

 private:
  using Handler = std::function<void(httplib::Response&)>;

  void Handle(const httplib::Request& request, httplib::Response& response);
  void WaitUntilReleased();
  bool WaitReleasedFor(std::chrono::milliseconds interval);  // true once released

  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::condition_variable releasedChanged_;
  bool released_ = false;
  std::map<std::string, Handler> handlers_;
  std::vector<std::string> requests_;
};

// A loopback port that is taken but never listened on, so connections to it are
// refused, for as long as this lives.
class RefusingPort {
 public:
  RefusingPort();
  ~RefusingPort();
  RefusingPort(const RefusingPort&) = delete;
  RefusingPort& operator=(const RefusingPort&) = delete;
  std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_); }

 private:
  int socket_ = -1;
  int port_ = 0;
};

}  // namespace orvanel::test
