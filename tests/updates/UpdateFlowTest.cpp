// The updates as a user meets them: orvanel run as a program through the terminal
// frontend, against a download site on loopback, with recording stand-ins for
// pkexec and xdg-open first on PATH.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "LoopbackSite.h"
#include "ProgramFixture.h"
#include "platform/Registry.h"

namespace orvanel::test {
namespace {

namespace registry = platform::registry;

const std::string kQuestion =
    "Update Orvanel: Download and install the latest version of Orvanel? [y/N] ";
const std::string kCatalogue = "extensions\r\nxyz\r\nqqz\r\n";
constexpr char kInstallNeedsRoot[] = "needs root: install only starts an elevated copy otherwise";

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

class UpdateFlowTest : public ProgramFixture {
 protected:
  UpdateFlowTest() {
    site_.Serve("/analytics/analytics.php", "");
    site_.Serve("/data_version.txt", "0");
    site_.Serve("/software_version.txt", "0.2");
    UseSites(site_.Base(), site_.Base());
  }

  // File mode with a file of an extension the catalogue lists; the prompt is closed
  // ("q"), then `answer` goes to the update question.
  RunResult OpenFile(const std::string& answer) {
    WriteFile(dir_ / "report.xyz", "data");
    return RunOrvanel({dir_ / "report.xyz"}, "q\n" + answer + "\n");
  }

  // The argument lists pkexec was started with: `expected` of them, or when none are
  // expected, whatever came within the time a stray one would take.
  std::vector<std::string> PkexecCalls(size_t expected) const {
    return expected > 0 ? Calls("pkexec", expected) : Calls("pkexec", 1, kStrayCallWait);
  }

  // What was asked of the site, without the usage reports.
  std::vector<std::string> SiteRequests() const {
    std::vector<std::string> requests;
    for (const auto& request : site_.Requests()) {
      if (request.rfind("/analytics/", 0) != 0) requests.push_back(request);
    }
    return requests;
  }

  std::optional<std::u16string> DefaultValue(const std::u16string& keyPath) {
    registry::Key key;
    if (registry::OpenKey(keyPath, registry::Access::Read, key) != registry::Status::Ok)
      return std::nullopt;
    char16_t buffer[64] = {};
    uint32_t size = sizeof buffer - sizeof(char16_t);
    if (registry::QueryValue(key, u"", buffer, size, nullptr) != registry::Status::Ok)
      return std::nullopt;
    return std::u16string(buffer);
  }

  LoopbackSite site_;
};

TEST_F(UpdateFlowTest, InstallFetchesANewerCatalogueAndRegistersItsExtensions) {
  if (!RunsAsRoot()) GTEST_SKIP() << kInstallNeedsRoot;
  site_.Serve("/data_version.txt", "7\r\n");
  site_.Serve("/extensions.txt", kCatalogue);

  const RunResult result = RunOrvanel({"-i"});

  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(SiteRequests(), (std::vector<std::string>{"/data_version.txt", "/extensions.txt"}));
  EXPECT_EQ(ReadFile(DataFolder() + "/extensions.txt"), kCatalogue);
  EXPECT_FALSE(FileExists(DataFolder() + "/tmp_file"));
  EXPECT_EQ(ReadFile(DataFolder() + "/data_version.txt"), "7");
  EXPECT_EQ(DefaultValue(u".xyz"), u"Orvanel");
  EXPECT_EQ(DefaultValue(u".qqz"), u"Orvanel");
  EXPECT_NE(result.err.find("Orvanel Update\n"), std::string::npos) << result.err;
}

TEST_F(UpdateFlowTest, InstallWithAFailedCatalogueDownloadKeepsTheOldCatalogueAndVersion) {
  if (!RunsAsRoot()) GTEST_SKIP() << kInstallNeedsRoot;
  CreateDataFolder();
  WriteFile(DataFolder() + "/extensions.txt", "extensions\nxyz\n");
  WriteFile(DataFolder() + "/data_version.txt", "3");
  site_.Serve("/data_version.txt", "7");
  site_.Serve("/extensions.txt", "<html>Server error</html>", 500);

  const RunResult result = RunOrvanel({"-i"});

  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(ReadFile(DataFolder() + "/extensions.txt"), "extensions\nxyz\n");
  EXPECT_EQ(ReadFile(DataFolder() + "/data_version.txt"), "3")
      << "the catalogue must be offered again next time";
  EXPECT_EQ(DefaultValue(u".xyz"), u"Orvanel") << "registration still runs on the old catalogue";
}

TEST_F(UpdateFlowTest, InstallWithoutANewerCatalogueDownloadsNothing) {
  if (!RunsAsRoot()) GTEST_SKIP() << kInstallNeedsRoot;
  CreateDataFolder();
  WriteFile(DataFolder() + "/extensions.txt", "extensions\nxyz\n");
  WriteFile(DataFolder() + "/data_version.txt", "7");
  site_.Serve("/data_version.txt", "7");
  site_.Serve("/extensions.txt", kCatalogue);

  const RunResult result = RunOrvanel({"-i"});

  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(SiteRequests(), std::vector<std::string>{"/data_version.txt"});
  EXPECT_EQ(DefaultValue(u".qqz"), std::nullopt);
}

TEST_F(UpdateFlowTest, NewerProgramAcceptedIsDownloadedAndStartedElevated) {
  site_.Serve("/software_version.txt", "0.3\r\n");
  site_.Serve("/data_version.txt", "9");
  site_.Serve("/installer.exe", std::string("MZ\x90\0installer", 13));

  const RunResult result = OpenFile("y");

  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(Count(result.err, kQuestion), 1u) << result.err;
  EXPECT_EQ(SiteRequests(), (std::vector<std::string>{"/software_version.txt", "/installer.exe"}))
      << "a newer program is offered without asking about the catalogue";
  const std::string installer = DataFolder() + "/installer.exe";
  EXPECT_EQ(ReadFile(installer), std::string("MZ\x90\0installer", 13));
  const auto calls = PkexecCalls(1);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].substr(calls[0].rfind(' ') + 1), installer) << calls[0];
  EXPECT_EQ(ReadFile(RecordOf("xdg-open")), "");
}

TEST_F(UpdateFlowTest, NewerProgramWhoseDownloadFailsIsNotStarted) {
  site_.Serve("/software_version.txt", "1.0");
  CreateDataFolder();
  WriteFile(DataFolder() + "/installer.exe", "stale installer");
  site_.Serve("/installer.exe", "<html>Not found</html>", 404);

  const RunResult result = OpenFile("yes");

  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(ReadFile(DataFolder() + "/installer.exe"), "stale installer");
  EXPECT_TRUE(PkexecCalls(0).empty()) << "no stale or partial installer is run elevated";
}

TEST_F(UpdateFlowTest, NewerProgramDeclinedAsksNothingMore) {
  site_.Serve("/software_version.txt", "0.3");
  site_.Serve("/data_version.txt", "9");

  const RunResult result = OpenFile("n");

  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(Count(result.err, kQuestion), 1u) << result.err;
  EXPECT_EQ(SiteRequests(), std::vector<std::string>{"/software_version.txt"});
  EXPECT_TRUE(PkexecCalls(0).empty());
  EXPECT_FALSE(FileExists(DataFolder() + "/installer.exe"));
}

TEST_F(UpdateFlowTest, NewerCatalogueAcceptedRelaunchesElevatedForTheInstall) {
  site_.Serve("/data_version.txt", "9");
  site_.Serve("/extensions.txt", kCatalogue);

  const RunResult result = OpenFile("y");

  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(Count(result.err, kQuestion), 1u) << result.err;
  EXPECT_EQ(SiteRequests(),
            (std::vector<std::string>{"/software_version.txt", "/data_version.txt"}))
      << "the elevated copy fetches the catalogue, not this one";
  const auto calls = PkexecCalls(1);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].substr(calls[0].size() - 3), " -i") << calls[0];
  EXPECT_NE(calls[0].find(ProgramPath("orvanel") + " -i"), std::string::npos) << calls[0];
  EXPECT_FALSE(FileExists(DataFolder() + "/data_version.txt"));
}

TEST_F(UpdateFlowTest, NothingNewerAsksNothing) {
  CreateDataFolder();
  WriteFile(DataFolder() + "/data_version.txt", "9");
  site_.Serve("/data_version.txt", "9");

  const RunResult result = OpenFile("y");

  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(Count(result.err, "Update Orvanel"), 0u) << result.err;
  EXPECT_EQ(SiteRequests(),
            (std::vector<std::string>{"/software_version.txt", "/data_version.txt"}));
  EXPECT_TRUE(PkexecCalls(0).empty());
}

}  // namespace
}  // namespace orvanel::test
