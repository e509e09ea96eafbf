// Helpers shared by the tests: temporary folders, environment settings, files,
// and running the built programs as separate processes.
#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orvanel::test {

// A fresh folder under /tmp, removed with everything in it when destroyed.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Sets (or, with nullopt, unsets) an environment variable for its lifetime.
class ScopedEnv {
 public:
  ScopedEnv(const std::string& name, const std::optional<std::string>& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

std::string ReadFile(const std::string& path);            // empty when missing
bool FileExists(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

// The build folder (set by CTest) and the programs in it.
std::string BuildDir();
std::string ProgramPath(const std::string& name);  // e.g. "orvanel", "orvanel-reg"

struct RunResult {
  int exitCode = -1;  // the process status (0 to 255), or -1 when killed by a signal
  std::string out;
  std::string err;
};

struct RunOptions {
  std::string input;                            // fed to standard input, then closed
  std::map<std::string, std::string> env;       // set on top of the current environment
  std::vector<std::string> unsetEnv;            // removed from it
  std::optional<unsigned> runAsUser;            // run with this user and group id
  int timeoutSeconds = 60;                      // killed after that
  std::optional<std::chrono::milliseconds> killAfter;  // killed sooner, as a crash would
};

// Runs a program with an argument vector (argv[0] is the program) and waits for it.
RunResult Run(const std::vector<std::string>& argv, const RunOptions& options = {});

}  // namespace orvanel::test
