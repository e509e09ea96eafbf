// The install and uninstall reports of whole runs of orvanel, against a loopback
// info and download site: one request per run by the instance that did the work.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "LoopbackSite.h"
#include "TestSupport.h"
#include "online/MachineId.h"

namespace orvanel::test {
namespace {

constexpr unsigned kNobody = 65534;

class ReportProcessTest : public ::testing::Test {
 protected:
  ReportProcessTest() {
    chmod(dir.path().c_str(), 0777);  // the unprivileged runs reach their files here
    mkdir((dir / "bin").c_str(), 0755);
    mkdir((dir / "data").c_str(), 0777);
    mkdir(dataFolder.c_str(), 0777);
    // Stand-ins that only record: the elevated copy and the browser are never started.
    for (const char* tool : {"pkexec", "xdg-open"}) {
      const std::string path = dir / "bin/" + tool;
      WriteFile(path, std::string("#!/bin/sh\nprintf '%s\\n' \"$*\" >> '") + (dir / "started.log") + "'\n");
      chmod(path.c_str(), 0755);
    }
    site.Serve("/analytics/analytics.php", "thanks");
  }

  RunResult Orvanel(const std::string& argument, RunOptions options = {}) {
    options.env["ORVANEL_REGISTRY"] = dir / "registry.db";
    options.env["XDG_DATA_HOME"] = dir / "data";
    options.env["ORVANEL_FRONTEND"] = "terminal";
    options.env["ORVANEL_INFO_SITE"] = site.Base();
    options.env["ORVANEL_DOWNLOAD_SITE"] = site.Base();
    options.env["PATH"] = (dir / "bin") + ":/usr/bin:/bin";
    options.unsetEnv.push_back("PKEXEC_UID");
    options.unsetEnv.push_back("DISPLAY");
    options.unsetEnv.push_back("WAYLAND_DISPLAY");
    return test::Run({ProgramPath("orvanel"), argument}, options);
  }

  std::vector<std::string> AnalyticsRequests() const {
    std::vector<std::string> found;
    for (const std::string& target : site.Requests())
      if (target.rfind("/analytics/", 0) == 0) found.push_back(target);
    return found;
  }

  size_t StartedLines() const {
    const std::string log = ReadFile(dir / "started.log");
    return static_cast<size_t>(std::count(log.begin(), log.end(), '\n'));
  }

  static std::string ReportUrl(const std::string& action, const std::string& data) {
    return "/analytics/analytics.php?ID=" + WideToUtf8(MachineId()) + "&" + action +
           "=true&data=" + data + "&software=0.2&pub=tovix";
  }

  TempDir dir;
  LoopbackSite site;
  const std::string dataFolder = dir / "data/Orvanel/";
};

TEST_F(ReportProcessTest, InstallSendsOneReport) {
  WriteFile(dataFolder + "data_version.txt", "17\r\n");
  const RunResult result = Orvanel("-i");
  EXPECT_EQ(AnalyticsRequests(), std::vector<std::string>{ReportUrl("install", "17")}) << result.err;
  EXPECT_NE(result.out.find("thanks"), std::string::npos) << "the answer goes to standard output";
}

TEST_F(ReportProcessTest, UninstallSendsOneReport) {
  const RunResult result = Orvanel("-r");
  EXPECT_EQ(AnalyticsRequests(), std::vector<std::string>{ReportUrl("uninstall", "")}) << result.err;
}

// The start-up tracker is built before the install refreshes the catalogue.
TEST_F(ReportProcessTest, InstallReportsTheDataVersionTheRunStartedWith) {
  WriteFile(dataFolder + "data_version.txt", "17");
  site.Serve("/data_version.txt", "18");
  site.Serve("/extensions.txt", "xyz\r\n");
  const RunResult result = Orvanel("-i");
  ASSERT_EQ(ReadFile(dataFolder + "data_version.txt").substr(0, 2), "18") << "the catalogue was refreshed";
  EXPECT_EQ(AnalyticsRequests(), std::vector<std::string>{ReportUrl("install", "17")}) << result.err;
}

TEST_F(ReportProcessTest, AnInstanceThatOnlyRelaunchesItselfReportsNothing) {
  RunOptions asUser;
  asUser.runAsUser = kNobody;
  for (const char* argument : {"-i", "-r"}) {
    const RunResult result = Orvanel(argument, asUser);
    EXPECT_EQ(result.exitCode, 0) << argument << ": " << result.err;
  }
  // Both handed their switch on (the stand-in runs detached, so give it a moment).
  for (int i = 0; i < 250 && StartedLines() < 2; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(StartedLines(), 2u);
  EXPECT_TRUE(AnalyticsRequests().empty());
}

TEST_F(ReportProcessTest, TrackingSwitchesDecideForTheRunsThatFollow) {
  Orvanel("-i");       // creates the class key that holds the flag
  Orvanel("-t=off");   // built its tracker before the switch: no report either way
  Orvanel("-i");
  Orvanel("-r");
  Orvanel("-t=on");
  Orvanel("-r");
  EXPECT_EQ(AnalyticsRequests(),
            (std::vector<std::string>{ReportUrl("install", ""), ReportUrl("uninstall", "")}));
}

TEST_F(ReportProcessTest, UsingThePromptSendsNoReport) {
  WriteFile(dir / "report.xyz", "data");
  for (const char* answer : {"q\n", "2\n"}) {
    RunOptions options;
    options.input = answer;
    Orvanel(dir / "report.xyz", options);
  }
  EXPECT_TRUE(AnalyticsRequests().empty());
  EXPECT_FALSE(site.Requests().empty()) << "the update checks did reach the site";
}

}  // namespace
}  // namespace orvanel::test
