#include "ChildProcess.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

namespace orvanel::test {

pid_t StartChild(const std::function<int()>& body, std::optional<uid_t> user) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    if (user && (setgid(*user) != 0 || setuid(*user) != 0)) _exit(126);
    const int status = body();
    std::fflush(nullptr);
    _exit(status);
  }
  return child;
}

int WaitChild(pid_t child) {
  int status = 0;
  if (waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace orvanel::test
