#include "TestSupport.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace orvanel::test {

TempDir::TempDir() {
  char pattern[] = "/tmp/orvanel-test-XXXXXX";
  if (!mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

ScopedEnv::ScopedEnv(const std::string& name, const std::optional<std::string>& value) : name_(name) {
  if (const char* old = getenv(name.c_str())) old_ = old;
  if (value)
    setenv(name.c_str(), value->c_str(), 1);
  else
    unsetenv(name.c_str());
}

ScopedEnv::~ScopedEnv() {
  if (old_)
    setenv(name_.c_str(), old_->c_str(), 1);
  else
    unsetenv(name_.c_str());
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string BuildDir() {
  const char* dir = getenv("ORVANEL_BUILD_DIR");
  if (!dir) throw std::runtime_error("ORVANEL_BUILD_DIR is not set (run the tests through ctest)");
  return dir;
}

std::string ProgramPath(const std::string& name) {
  const std::string direct = BuildDir() + "/" + name;
  for (const char* sub : {"", "/src/app", "/tools", "/src/printer_tool"}) {
    const std::string candidate = BuildDir() + sub + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return direct;
}

namespace {

void DrainInto(int fd, std::string& sink, bool& open) {
  char buffer[65536];
  const ssize_t n = read(fd, buffer, sizeof buffer);
  if (n > 0)
    sink.append(buffer, static_cast<size_t>(n));
  else if (n == 0 || (errno != EINTR && errno != EAGAIN))
    open = false;
}

// Everything the child needs is prepared before the fork: a test process may run
// server threads, and after a fork only async-signal-safe calls are sound.
std::vector<std::string> ChildEnvironment(const RunOptions& options) {
  std::map<std::string, std::string> variables;
  for (char** entry = environ; *entry; ++entry) {
    const std::string setting = *entry;
    const size_t equals = setting.find('=');
    if (equals != std::string::npos) variables[setting.substr(0, equals)] = setting.substr(equals + 1);
  }
  for (const auto& name : options.unsetEnv) variables.erase(name);
  for (const auto& [name, value] : options.env) variables[name] = value;
  std::vector<std::string> settings;
  for (const auto& [name, value] : variables) settings.push_back(name + "=" + value);
  return settings;
}

std::string ResolveProgram(const std::string& program) {
  if (program.find('/') != std::string::npos) return program;
  const char* path = getenv("PATH");
  std::istringstream folders(path ? path : "/usr/bin:/bin");
  for (std::string folder; std::getline(folders, folder, ':');) {
    const std::string candidate = folder + "/" + program;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return program;
}

}  // namespace

RunResult Run(const std::vector<std::string>& argv, const RunOptions& options) {
  const std::string program = ResolveProgram(argv.at(0));
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const std::vector<std::string> settings = ChildEnvironment(options);
  std::vector<char*> environment;
  for (const auto& s : settings) environment.push_back(const_cast<char*>(s.c_str()));
  environment.push_back(nullptr);

  int in[2], out[2], err[2];
  if (pipe(in) || pipe(out) || pipe(err)) throw std::runtime_error("pipe failed");
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(err[1], 2);
    for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
    setpgid(0, 0);
    if (options.runAsUser) {
      if (setgroups(0, nullptr) != 0 || setgid(*options.runAsUser) != 0 ||
          setuid(*options.runAsUser) != 0)
        _exit(126);
    }
    execve(program.c_str(), args.data(), environment.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  close(err[1]);
  signal(SIGPIPE, SIG_IGN);
  size_t written = 0;
  if (options.input.empty()) {
    close(in[1]);
    in[1] = -1;
  } else {
    fcntl(in[1], F_SETFL, O_NONBLOCK);
  }
  RunResult result;
  bool outOpen = true, errOpen = true;
  const auto deadline = std::chrono::steady_clock::now() +
                        (options.killAfter ? std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                                 *options.killAfter)
                                           : std::chrono::seconds(options.timeoutSeconds));
  while (outOpen || errOpen) {
    pollfd fds[3] = {{outOpen ? out[0] : -1, POLLIN, 0}, {errOpen ? err[0] : -1, POLLIN, 0},
                     {in[1], POLLOUT, 0}};
    poll(fds, 3, options.killAfter ? 5 : 200);
    if (fds[0].revents) DrainInto(out[0], result.out, outOpen);
    if (fds[1].revents) DrainInto(err[0], result.err, errOpen);
    if (in[1] >= 0 && fds[2].revents) {
      const ssize_t n = write(in[1], options.input.data() + written, options.input.size() - written);
      if (n > 0) written += static_cast<size_t>(n);
      if (n < 0 || written == options.input.size()) {
        close(in[1]);
        in[1] = -1;
      }
    }
    if (std::chrono::steady_clock::now() > deadline) {
      kill(-pid, SIGKILL);
      break;
    }
  }
  if (in[1] >= 0) close(in[1]);
  close(out[0]);
  close(err[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace orvanel::test
