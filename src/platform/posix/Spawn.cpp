#include "platform/posix/Spawn.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace orvanel::platform::posix {

std::optional<std::string> FindOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
  size_t start = 0;
  while (start <= folders.size()) {
    size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    std::string folder = folders.substr(start, end - start);
    if (folder.empty()) folder = ".";
    const std::string candidate = folder + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  return std::nullopt;
}

bool StartDetached(const std::vector<std::string>& argv, ChildInput streams) {
  if (argv.empty()) return false;
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);

  // The intermediate child reports through this pipe whether the exec happened;
  // the grandchild belongs to init, so nothing waits for it and no zombie stays.
  int status[2];
  if (pipe2(status, O_CLOEXEC) != 0) return false;
  const pid_t child = fork();
  if (child < 0) {
    close(status[0]);
    close(status[1]);
    return false;
  }
  if (child == 0) {
    close(status[0]);
    setsid();
    const pid_t grandchild = fork();
    if (grandchild != 0) _exit(grandchild < 0 ? 1 : 0);
    if (streams == ChildInput::Detach) {
      const int null = open("/dev/null", O_RDWR);
      if (null >= 0) {
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
        if (null > 2) close(null);
      }
    }
    execv(args[0], args.data());
    const int error = errno;
    (void)!write(status[1], &error, sizeof error);
    _exit(127);
  }
  close(status[1]);
  int childStatus = 0;
  while (waitpid(child, &childStatus, 0) < 0 && errno == EINTR) {
  }
  int execError = 0;
  ssize_t n;
  while ((n = read(status[0], &execError, sizeof execError)) < 0 && errno == EINTR) {
  }
  close(status[0]);
  return WIFEXITED(childStatus) && WEXITSTATUS(childStatus) == 0 && n == 0;
}

}  // namespace orvanel::platform::posix
