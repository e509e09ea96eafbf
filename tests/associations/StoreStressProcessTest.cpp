// Install and uninstall as whole processes under the faults a machine can throw at
// the store: a writer killed at any moment, many writers at once, a store held
// locked, replaced by garbage, or deleted between runs. Nothing may be lost or
// half-written, and every run ends within its limits.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "ProgramFixture.h"

namespace orvanel::test {
namespace {

using std::chrono::milliseconds;

std::string Catalogue(int lines) {
  std::string text = "extensions\r\n";
  for (int i = 0; i < lines; ++i) text += "stress" + std::to_string(i) + "\r\n";
  return text;
}

// The lines a run wrote, but for the failed usage report (nothing listens at the site).
std::vector<std::string> DiagnosticLines(const std::string& err) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = err.find('\n', start)) != std::string::npos; start = end + 1) {
    const std::string line = err.substr(start, end - start);
    if (line.rfind("curl_easy_perform() failed", 0) != 0) lines.push_back(line);
  }
  return lines;
}

class StoreStressProcessTest : public ProgramFixture {
 protected:
  void SetUp() override {
    if (!RunsAsRoot()) GTEST_SKIP() << "needs root: install and uninstall only start an elevated copy otherwise";
    CreateDataFolder();
  }

  void UseCatalogue(int lines) { WriteFile(DataFolder() + "/extensions.txt", Catalogue(lines)); }

  std::string Export() {
    const RunResult result = RunProgram("orvanel-reg", {"export"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return result.out;
  }

  // The export of an uninterrupted install of the current catalogue into a fresh store.
  std::string UninterruptedInstall() {
    RunOptions options;
    options.env["ORVANEL_REGISTRY"] = dir_ / "reference.db";
    const RunResult install = RunOrvanel({"-i"}, options);
    EXPECT_EQ(install.exitCode, 0) << install.err;
    return RunProgram("orvanel-reg", {"export"}, options).out;
  }
};

TEST_F(StoreStressProcessTest, AnInstallKilledAtAnyMomentLeavesAStoreTheNextInstallCompletes) {
  UseCatalogue(20000);
  const std::string expected = UninterruptedInstall();
  const auto started = std::chrono::steady_clock::now();
  ASSERT_EQ(RunOrvanel({"-i"}).exitCode, 0);
  const auto whole = std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - started);
  ASSERT_EQ(RunOrvanel({"-r"}).exitCode, 0);

  int killed = 0;
  for (int percent : {5, 23, 41, 67, 89}) {
    SCOPED_TRACE(percent);
    RunOptions options;
    options.killAfter = whole * percent / 100;
    if (RunOrvanel({"-i"}, options).exitCode == -1) ++killed;
    const RunResult next = RunOrvanel({"-i"});
    ASSERT_EQ(next.exitCode, 0) << next.err;
    EXPECT_EQ(Export(), expected);
    ASSERT_EQ(RunOrvanel({"-r"}).exitCode, 0);
  }
  EXPECT_GT(killed, 0) << "no install was caught before its end";
}

TEST_F(StoreStressProcessTest, EightProcessesInstallingAndUninstallingAtOnceLoseNothing) {
  UseCatalogue(2000);
  const std::string expected = UninterruptedInstall();
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    std::vector<RunResult> results(8);
    std::vector<std::thread> runs;
    for (size_t i = 0; i < results.size(); ++i) {
      runs.emplace_back([this, i, &results] { results[i] = RunOrvanel({i % 2 ? "-r" : "-i"}); });
    }
    for (auto& run : runs) run.join();
    for (const RunResult& result : results) {
      EXPECT_EQ(result.exitCode, 0) << result.err;
      EXPECT_TRUE(DiagnosticLines(result.err).empty()) << result.err;
    }
    const RunResult last = RunOrvanel({"-i"});
    ASSERT_EQ(last.exitCode, 0) << last.err;
    EXPECT_EQ(Export(), expected);
  }
}

TEST_F(StoreStressProcessTest, AStoreHeldLockedPastTheWaitFailsTheRunWithOneLineAndLosesNothing) {
  UseCatalogue(100);
  ASSERT_EQ(RunOrvanel({"-i"}).exitCode, 0);
  const std::string before = Export();
  UseCatalogue(200);

  sqlite3* holder = nullptr;
  ASSERT_EQ(sqlite3_open(StorePath().c_str(), &holder), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  RunOptions options;
  options.env["ORVANEL_REGISTRY_WAIT"] = "1";
  options.timeoutSeconds = 30;
  const RunResult install = RunOrvanel({"-i"}, options);
  sqlite3_exec(holder, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(holder);

  EXPECT_EQ(install.exitCode, 255);
  const std::vector<std::string> lines = DiagnosticLines(install.err);
  ASSERT_EQ(lines.size(), 1u) << install.err;
  EXPECT_NE(lines[0].find("locked"), std::string::npos) << lines[0];
  EXPECT_EQ(Export(), before);
}

TEST_F(StoreStressProcessTest, AStoreReplacedByGarbageIsReportedOnceAndKept) {
  UseCatalogue(100);
  const std::string garbage(8192, '\x5a');
  mkdir((dir_ / "store").c_str(), 0755);
  WriteFile(StorePath(), garbage);
  for (const char* mode : {"-i", "-r"}) {
    SCOPED_TRACE(mode);
    const RunResult run = RunOrvanel({mode});
    EXPECT_EQ(run.exitCode, 255);
    EXPECT_EQ(DiagnosticLines(run.err).size(), 1u) << run.err;
    EXPECT_EQ(ReadFile(StorePath()), garbage);
  }
}

TEST_F(StoreStressProcessTest, AStoreDeletedBetweenRunsIsUninstalledQuietlyAndInstalledAfresh) {
  UseCatalogue(100);
  const std::string expected = UninterruptedInstall();
  ASSERT_EQ(RunOrvanel({"-i"}).exitCode, 0);
  ASSERT_EQ(unlink(StorePath().c_str()), 0);

  const RunResult uninstall = RunOrvanel({"-r"});
  EXPECT_EQ(uninstall.exitCode, 0) << uninstall.err;
  EXPECT_TRUE(DiagnosticLines(uninstall.err).empty()) << uninstall.err;
  EXPECT_FALSE(FileExists(StorePath())) << "removing from nothing creates nothing";

  const RunResult install = RunOrvanel({"-i"});
  EXPECT_EQ(install.exitCode, 0) << install.err;
  EXPECT_EQ(Export(), expected);
}

}  // namespace
}  // namespace orvanel::test
