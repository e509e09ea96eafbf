// Runs the built programs as whole processes in a setting of their own: a temporary
// store (also used by the test process itself), data, configuration and
// application folders, sites where nothing listens until a test gives its own, the
// terminal frontend, and recording stand-ins for pkexec and xdg-open first on PATH.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace orvanel::test {

inline constexpr unsigned kNobody = 65534;  // a user without rights, for runs as another user
inline constexpr char kNoSite[] = "http://127.0.0.1:9";  // nothing listens there

// How long a stand-in started detached may take to write its record.
inline constexpr std::chrono::milliseconds kCallWait{5000};
// How long to watch for a call that should not come.
inline constexpr std::chrono::milliseconds kStrayCallWait{500};

class ProgramFixture : public testing::Test {
 protected:
  ProgramFixture();

  // Whether the test process has administrator rights; install, uninstall and the
  // tracking switches only start an elevated copy without them.
  static bool RunsAsRoot();

  std::string StorePath() const { return dir_ / "store/registry.db"; }
  std::string DataHome() const { return dir_ / "data"; }
  std::string DataFolder() const { return dir_ / "data/Orvanel"; }
  // Creates the data folder, open to the runs as another user too.
  void CreateDataFolder() const;

  // The sites the runs are given from now on.
  void UseSites(const std::string& info, const std::string& download);

  // Runs orvanel with these arguments (argv[0] added) in this setting; what
  // `options` sets wins over the setting.
  RunResult RunOrvanel(const std::vector<std::string>& arguments, RunOptions options = {});
  // The same, with `input` as the answers on standard input.
  RunResult RunOrvanel(const std::vector<std::string>& arguments, const std::string& input);
  // Runs another built program (e.g. "orvanel-reg") in the same setting.
  RunResult RunProgram(const std::string& name, const std::vector<std::string>& arguments,
                       RunOptions options = {});

  // Puts a program on PATH that appends each argument list it is started with, as
  // one line, to its record.
  void AddStandIn(const std::string& name);
  std::string StandInPath(const std::string& name) const { return dir_ / ("bin/" + name); }
  std::string RecordOf(const std::string& standIn) const { return dir_ / (standIn + ".log"); }

  // The argument lists the stand-in was started with, once there are `expected` of
  // them or `wait` has passed; stand-ins started detached write after the run ends.
  std::vector<std::string> Calls(const std::string& standIn, size_t expected = 1,
                                 std::chrono::milliseconds wait = kCallWait) const;

  TempDir dir_;

 private:
  ScopedEnv store_;
  std::string infoSite_ = kNoSite;
  std::string downloadSite_ = kNoSite;
};

}  // namespace orvanel::test
