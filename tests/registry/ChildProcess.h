// Running a piece of a test in a forked process: another user of the store,
// possibly as another user id, or one to be killed.
#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>

namespace orvanel::test {

constexpr uid_t kNobody = 65534;

// Starts `body` in a child process (as `user` when given); its result is the
// child's exit status.
pid_t StartChild(const std::function<int()>& body, std::optional<uid_t> user = std::nullopt);

// The exit status of a child, or -1 when a signal ended it.
int WaitChild(pid_t child);

inline int RunInChild(const std::function<int()>& body, std::optional<uid_t> user = std::nullopt) {
  return WaitChild(StartChild(body, user));
}

}  // namespace orvanel::test
