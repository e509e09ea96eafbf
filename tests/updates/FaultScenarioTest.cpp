// A download site that misbehaves, as a hostile network or a broken mirror would, for
// each thing Orvanel fetches from it: orvanel run as a program with its built-in
// limits. Whatever the site does, the run ends within those limits, without a crash,
// starts nothing, and leaves the catalogue, the data version and the installer as they
// were.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <tuple>
#include <vector>

#include "LoopbackSite.h"
#include "ProgramFixture.h"

namespace orvanel::test {
namespace {

enum class Fetched { DataVersion, SoftwareVersion, Catalogue, Installer };
enum class Fault { Redirect, ErrorPage, ResetMidBody, LengthNeverReached, EndlessSlow, Huge };

const char* NameOf(Fetched fetched) {
  switch (fetched) {
    case Fetched::DataVersion: return "DataVersion";
    case Fetched::SoftwareVersion: return "SoftwareVersion";
    case Fetched::Catalogue: return "Catalogue";
    case Fetched::Installer: return "Installer";
  }
  return "";
}

const char* NameOf(Fault fault) {
  switch (fault) {
    case Fault::Redirect: return "Redirect";
    case Fault::ErrorPage: return "ErrorPage";
    case Fault::ResetMidBody: return "ResetMidBody";
    case Fault::LengthNeverReached: return "LengthNeverReached";
    case Fault::EndlessSlow: return "EndlessSlow";
    case Fault::Huge: return "Huge";
  }
  return "";
}

const char* PathOf(Fetched fetched) {
  switch (fetched) {
    case Fetched::DataVersion: return "/data_version.txt";
    case Fetched::SoftwareVersion: return "/software_version.txt";
    case Fetched::Catalogue: return "/extensions.txt";
    case Fetched::Installer: return "/installer.exe";
  }
  return "";
}

// What the machine holds before the run; every byte of it must be there afterwards.
const std::string kCatalogue = "extensions\r\nxyz\r\n";
const std::string kDataVersion = "5";
const std::string kInstaller = "an installer from an earlier run";

// The longest a run may take: the longest limit of a transfer (a download's minute)
// and a margin for the rest of the run. A run still going then is killed and fails.
constexpr int kRunBoundSeconds = 90;

using Scenario = std::tuple<Fetched, Fault>;

class FaultScenarioTest : public ProgramFixture, public testing::WithParamInterface<Scenario> {
 protected:
  FaultScenarioTest() {
    UseSites(site_.Base(), site_.Base());
    CreateDataFolder();
    WriteFile(DataFolder() + "/extensions.txt", kCatalogue);
    WriteFile(DataFolder() + "/data_version.txt", kDataVersion);
    WriteFile(DataFolder() + "/installer.exe", kInstaller);
    site_.Serve("/analytics/analytics.php", "");
    // Unless the fault is on them: a newer program and a newer catalogue, so that
    // every fetch is reached.
    site_.Serve("/software_version.txt", "0.3");
    site_.Serve("/data_version.txt", "9");
    site_.Serve("/extensions.txt", "extensions\r\nnew\r\n");
    site_.Serve("/installer.exe", "a new installer");
  }

  void Misbehave(const std::string& path, Fault fault) {
    // A body that would be read as a version, a catalogue or a program if taken.
    const std::string body = "9.9\r\nnew\r\n";
    // Small enough to pass the size limits: the rest of the answer is what fails.
    const size_t declared = body.size() + 100;
    switch (fault) {
      case Fault::Redirect:
        site_.ServeRedirect(path, 302, "http://127.0.0.1:9/elsewhere", body);
        break;
      case Fault::ErrorPage:
        site_.Serve(path, "404 " + body, 404);
        break;
      case Fault::ResetMidBody:
        site_.ServeBroken(path, body, declared);
        break;
      case Fault::LengthNeverReached:
        site_.ServeStalled(path, body, declared);
        break;
      case Fault::EndlessSlow:  // ten bytes a second, never ending
        site_.ServeEndless(path, "9", std::chrono::milliseconds(100));
        break;
      case Fault::Huge:  // as fast as it is taken, never ending
        site_.ServeEndless(path, std::string(64 * 1024, '9'), std::chrono::milliseconds(0));
        break;
    }
  }

  // The catalogue is fetched by the install; everything else in file mode, where the
  // newer program is accepted.
  RunResult RunThrough(Fetched fetched) {
    RunOptions options;
    options.timeoutSeconds = kRunBoundSeconds;
    if (fetched == Fetched::DataVersion || fetched == Fetched::Catalogue)
      return RunOrvanel({"-i"}, options);
    WriteFile(dir_ / "report.xyz", "data");
    options.input = "q\ny\n";
    return RunOrvanel({dir_ / "report.xyz"}, options);
  }

  LoopbackSite site_;
};

TEST_P(FaultScenarioTest, NothingIsLostAndNothingStarted) {
  const auto [fetched, fault] = GetParam();
  const bool install = fetched == Fetched::DataVersion || fetched == Fetched::Catalogue;
  if (install && !RunsAsRoot())
    GTEST_SKIP() << "needs root: install only starts an elevated copy otherwise";
  // Without a newer program the catalogue would be offered next: not in this run.
  if (fetched == Fetched::SoftwareVersion) site_.Serve("/data_version.txt", kDataVersion);
  Misbehave(PathOf(fetched), fault);

  const RunResult result = RunThrough(fetched);

  EXPECT_EQ(result.exitCode, 0) << "crashed, or held past " << kRunBoundSeconds << " s\n"
                                << result.err;
  EXPECT_EQ(ReadFile(DataFolder() + "/extensions.txt"), kCatalogue);
  EXPECT_EQ(ReadFile(DataFolder() + "/data_version.txt"), kDataVersion);
  EXPECT_EQ(ReadFile(DataFolder() + "/installer.exe"), kInstaller);
  EXPECT_FALSE(FileExists(DataFolder() + "/tmp_file"));
  EXPECT_TRUE(Calls("pkexec", 1, kStrayCallWait).empty()) << "nothing is started";
  // The failed fetch is told once, through the diagnostics.
  const std::string told = std::string("orvanel: ") + site_.Base() + PathOf(fetched) + ": ";
  EXPECT_NE(result.err.find(told), std::string::npos) << result.err;
  EXPECT_EQ(result.err.find("could not be verified"), std::string::npos)
      << "an installer that never arrived is not checked\n"
      << result.err;
  if (fetched == Fetched::SoftwareVersion) {
    EXPECT_EQ(result.err.find("Download and install"), std::string::npos)
        << "no newer program is offered on a failed fetch\n"
        << result.err;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sites, FaultScenarioTest,
    testing::Combine(testing::Values(Fetched::DataVersion, Fetched::SoftwareVersion,
                                     Fetched::Catalogue, Fetched::Installer),
                     testing::Values(Fault::Redirect, Fault::ErrorPage, Fault::ResetMidBody,
                                     Fault::LengthNeverReached, Fault::EndlessSlow, Fault::Huge)),
    [](const testing::TestParamInfo<Scenario>& info) {
      return std::string(NameOf(std::get<0>(info.param))) + "_" + NameOf(std::get<1>(info.param));
    });

}  // namespace
}  // namespace orvanel::test
