// The install and uninstall reports of whole runs of orvanel, against a loopback
// info and download site: one request per run by the instance that did the work.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LoopbackSite.h"
#include "ProgramFixture.h"
#include "online/MachineId.h"

namespace orvanel::test {
namespace {

constexpr char kNeedsRoot[] =
    "needs root: install and uninstall only start an elevated copy otherwise";

// The fixture's stand-ins only record: the elevated copy and the browser are never started.
class ReportProcessTest : public ProgramFixture {
 protected:
  ReportProcessTest() {
    CreateDataFolder();
    site.Serve("/analytics/analytics.php", "thanks");
    UseSites(site.Base(), site.Base());
  }

  RunResult Orvanel(const std::string& argument, RunOptions options = {}) {
    return RunOrvanel({argument}, options);
  }

  std::vector<std::string> AnalyticsRequests() const {
    std::vector<std::string> found;
    for (const std::string& target : site.Requests())
      if (target.rfind("/analytics/", 0) == 0) found.push_back(target);
    return found;
  }

  static std::string ReportUrl(const std::string& action, const std::string& data) {
    return "/analytics/analytics.php?ID=" + WideToUtf8(MachineId()) + "&" + action +
           "=true&data=" + data + "&software=0.2&pub=tovix";
  }

  LoopbackSite site;
  const std::string dataFolder = DataFolder() + "/";
};

TEST_F(ReportProcessTest, InstallSendsOneReport) {
  if (!RunsAsRoot()) GTEST_SKIP() << kNeedsRoot;
  WriteFile(dataFolder + "data_version.txt", "17\r\n");
  const RunResult result = Orvanel("-i");
  EXPECT_EQ(AnalyticsRequests(), std::vector<std::string>{ReportUrl("install", "17")}) << result.err;
  EXPECT_NE(result.out.find("thanks"), std::string::npos) << "the answer goes to standard output";
}

TEST_F(ReportProcessTest, UninstallSendsOneReport) {
  if (!RunsAsRoot()) GTEST_SKIP() << kNeedsRoot;
  const RunResult result = Orvanel("-r");
  EXPECT_EQ(AnalyticsRequests(), std::vector<std::string>{ReportUrl("uninstall", "")}) << result.err;
}

// The start-up tracker is built before the install refreshes the catalogue.
TEST_F(ReportProcessTest, InstallReportsTheDataVersionTheRunStartedWith) {
  if (!RunsAsRoot()) GTEST_SKIP() << kNeedsRoot;
  WriteFile(dataFolder + "data_version.txt", "17");
  site.Serve("/data_version.txt", "18");
  site.Serve("/extensions.txt", "xyz\r\n");
  const RunResult result = Orvanel("-i");
  ASSERT_EQ(ReadFile(dataFolder + "data_version.txt").substr(0, 2), "18") << "the catalogue was refreshed";
  EXPECT_EQ(AnalyticsRequests(), std::vector<std::string>{ReportUrl("install", "17")}) << result.err;
}

TEST_F(ReportProcessTest, AnInstanceThatOnlyRelaunchesItselfReportsNothing) {
  if (!RunsAsRoot()) GTEST_SKIP() << "needs root: to run orvanel as another user";
  RunOptions asUser;
  asUser.runAsUser = kNobody;
  for (const char* argument : {"-i", "-r"}) {
    const RunResult result = Orvanel(argument, asUser);
    EXPECT_EQ(result.exitCode, 0) << argument << ": " << result.err;
  }
  // Both handed their switch on, and nothing else was started.
  EXPECT_EQ(Calls("pkexec", 2).size(), 2u);
  EXPECT_TRUE(Calls("xdg-open", 1, kStrayCallWait).empty());
  EXPECT_TRUE(AnalyticsRequests().empty());
}

TEST_F(ReportProcessTest, TrackingSwitchesDecideForTheRunsThatFollow) {
  if (!RunsAsRoot()) GTEST_SKIP() << kNeedsRoot;
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
  WriteFile(dir_ / "report.xyz", "data");
  for (const char* answer : {"q\n", "2\n"}) {
    RunOptions options;
    options.input = answer;
    Orvanel(dir_ / "report.xyz", options);
  }
  EXPECT_TRUE(AnalyticsRequests().empty());
  EXPECT_FALSE(site.Requests().empty()) << "the update checks did reach the site";
}

}  // namespace
}  // namespace orvanel::test
