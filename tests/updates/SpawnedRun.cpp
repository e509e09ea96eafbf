#include "SpawnedRun.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <map>
#include <stdexcept>

extern char** environ;

namespace orvanel::test {
namespace {

// The current environment with the options' changes, as NAME=VALUE entries.
std::vector<std::string> ChildEnvironment(const RunOptions& options) {
  std::map<std::string, std::string> variables;
  for (char** entry = environ; *entry; ++entry) {
    const std::string text = *entry;
    const size_t equals = text.find('=');
    if (equals != std::string::npos) variables[text.substr(0, equals)] = text.substr(equals + 1);
  }
  for (const auto& name : options.unsetEnv) variables.erase(name);
  for (const auto& [name, value] : options.env) variables[name] = value;
  std::vector<std::string> entries;
  for (const auto& [name, value] : variables) entries.push_back(name + "=" + value);
  return entries;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (auto& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

void Drain(int fd, std::string& sink, bool& open) {
  char buffer[4096];
  const ssize_t n = read(fd, buffer, sizeof buffer);
  if (n > 0) {
    sink.append(buffer, static_cast<size_t>(n));
  } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
    open = false;
  }
}

}  // namespace

RunResult RunSpawned(const std::vector<std::string>& argv, const RunOptions& options) {
  if (options.runAsUser) throw std::invalid_argument("RunSpawned cannot change the user");
  std::vector<std::string> arguments = argv;
  std::vector<std::string> environment = ChildEnvironment(options);
  std::vector<char*> argumentPointers = Pointers(arguments);
  std::vector<char*> environmentPointers = Pointers(environment);

  int in[2], out[2], err[2];
  if (pipe2(in, O_CLOEXEC) || pipe2(out, O_CLOEXEC) || pipe2(err, O_CLOEXEC))
    throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);  // its own group, killed whole on time-out
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argumentPointers[0], &actions, &attributes,
                                  argumentPointers.data(), environmentPointers.data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  close(in[0]);
  close(out[1]);
  close(err[1]);
  if (spawned != 0) {
    for (int fd : {in[1], out[0], err[0]}) close(fd);
    throw std::runtime_error("cannot start " + argv[0]);
  }

  signal(SIGPIPE, SIG_IGN);
  int input = in[1];
  size_t written = 0;
  if (options.input.empty()) {
    close(input);
    input = -1;
  } else {
    fcntl(input, F_SETFL, O_NONBLOCK);
  }
  RunResult result;
  bool outOpen = true, errOpen = true;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::seconds(options.timeoutSeconds);
  while (outOpen || errOpen) {
    pollfd fds[3] = {{outOpen ? out[0] : -1, POLLIN, 0},
                     {errOpen ? err[0] : -1, POLLIN, 0},
                     {input, POLLOUT, 0}};
    poll(fds, 3, 200);
    if (fds[0].revents) Drain(out[0], result.out, outOpen);
    if (fds[1].revents) Drain(err[0], result.err, errOpen);
    if (input >= 0 && fds[2].revents) {
      const ssize_t n =
          write(input, options.input.data() + written, options.input.size() - written);
      if (n > 0) written += static_cast<size_t>(n);
      if (n < 0 || written == options.input.size()) {
        close(input);
        input = -1;
      }
    }
    if (std::chrono::steady_clock::now() > deadline) {
      kill(-pid, SIGKILL);
      break;
    }
  }
  if (input >= 0) close(input);
  close(out[0]);
  close(err[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace orvanel::test
