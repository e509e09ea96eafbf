// orvanel started with a file, as the desktop starts it, answered through the
// terminal frontend. The browser and the chosen application are recording scripts.
#include <gtest/gtest.h>
#include <httplib.h>
#include <sys/stat.h>

#include <chrono>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"

namespace orvanel::test {
namespace {

constexpr char kFile[] = "/some/dir/report.xyz";
constexpr char kNoSite[] = "http://127.0.0.1:9";  // nothing listens there

// A download site on loopback that answers fixed paths.
class DownloadSite {
 public:
  using Files = std::map<std::string, std::string>;  // path and body

  explicit DownloadSite(const Files& files) {
    for (const auto& [path, body] : files) {
      server_.Get(path, [body = body](const httplib::Request&, httplib::Response& response) {
        response.set_content(body, "text/plain");
      });
    }
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~DownloadSite() {
    server_.stop();
    thread_.join();
  }
  std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_); }

 private:
  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
};

void WriteScript(const std::string& path, const std::string& body) {
  WriteFile(path, "#!/bin/sh\n" + body);
  chmod(path.c_str(), 0755);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

class FileModeTest : public testing::Test {
 protected:
  FileModeTest() {
    for (const char* folder : {"bin", "data", "data/Orvanel", "store", "apps", "apps/applications",
                               "no-apps", "config"}) {
      mkdir((dir_ / folder).c_str(), 0755);
    }
    WriteScript(dir_ / "bin/xdg-open", "printf '%s\\n' \"$*\" >> '" + BrowserRecord() + "'\n");
    WriteScript(dir_ / "bin/recorder", "printf '%s\\n' \"$*\" >> '" + AppRecord() + "'\n");
    WriteScript(dir_ / "bin/pkexec", "printf '%s\\n' \"$*\" >> '" + PkexecRecord() + "'\n");
    // An installed application that declares every file type, known to GIO's cache too.
    WriteFile(dir_ / "apps/applications/recorder.desktop",
              "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" + (dir_ / "bin/recorder") +
                  " %f\nMimeType=application/octet-stream;\n");
    WriteFile(dir_ / "apps/applications/mimeinfo.cache",
              "[MIME Cache]\napplication/octet-stream=recorder.desktop;\n");
  }

  std::string BrowserRecord() const { return dir_ / "browser.log"; }
  std::string AppRecord() const { return dir_ / "app.log"; }
  std::string PkexecRecord() const { return dir_ / "pkexec.log"; }
  std::string IgnoreList() const { return dir_ / "data/Orvanel/ignore.txt"; }

  // With `withApps` the recorder is the one installed application; else there is none.
  RunResult RunOrvanel(const std::string& file, const std::string& input, bool withApps = false,
                       const std::string& downloadSite = kNoSite) {
    RunOptions options;
    options.input = input;
    options.env = {{"ORVANEL_REGISTRY", dir_ / "store/registry.db"},
                   {"XDG_DATA_HOME", dir_ / "data"},
                   {"XDG_DATA_DIRS", dir_ / (withApps ? "apps" : "no-apps")},
                   {"XDG_CONFIG_HOME", dir_ / "config"},
                   {"ORVANEL_FRONTEND", "terminal"},
                   {"ORVANEL_INFO_SITE", "http://info.test"},
                   {"ORVANEL_DOWNLOAD_SITE", downloadSite},
                   {"PATH", (dir_ / "bin") + ":/usr/bin:/bin"}};
    options.unsetEnv = {"DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "PKEXEC_UID"};
    return test::Run({ProgramPath("orvanel"), file}, options);
  }

  void SetTrackingOff(bool off) {
    RunOptions options;
    options.env = {{"ORVANEL_REGISTRY", dir_ / "store/registry.db"}};
    const RunResult result = test::Run({ProgramPath("orvanel-reg"), "add", "HKCR\\Orvanel", "/v",
                                        "private", "/d", off ? "1" : "0"},
                                       options);
    ASSERT_EQ(result.exitCode, 0) << result.err;
  }

  // The browser runs detached and may write its record after orvanel has ended.
  std::vector<std::string> BrowserCalls(size_t expected) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    std::vector<std::string> lines = Lines(ReadFile(BrowserRecord()));
    while (lines.size() < expected && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      lines = Lines(ReadFile(BrowserRecord()));
    }
    return lines;
  }

  // No browser call: given the time a started one takes to write its record.
  void ExpectNoBrowserCall() const {
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_FALSE(FileExists(BrowserRecord())) << ReadFile(BrowserRecord());
  }

  TempDir dir_;
};

TEST_F(FileModeTest, ThePromptShowsTheFileAndItsChoices) {
  const RunResult result = RunOrvanel(kFile, "q\n");
  EXPECT_EQ(result.exitCode, 0);
  for (const char* text :
       {"Orvanel\n", "File: report.xyz\n", "What would you like to do?\n",
        "1  Search the web for software to open the file\n", "2  Read and learn about .xyz file\n",
        "3  Open using software already on your computer\n",
        "4  Do not show again for .xyz file\n"}) {
    EXPECT_NE(result.err.find(text), std::string::npos) << text << "\nin:\n" << result.err;
  }
}

struct PageCase {
  const char* name;
  const char* input;
  const char* page;
};

void PrintTo(const PageCase& c, std::ostream* os) { *os << c.name; }

class PageTest : public FileModeTest, public testing::WithParamInterface<PageCase> {};

TEST_P(PageTest, WithTrackingOffTheAddressEndsInThePublisherWord) {
  ASSERT_NO_FATAL_FAILURE(SetTrackingOff(true));
  const RunResult result = RunOrvanel(kFile, GetParam().input);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(BrowserCalls(1), std::vector<std::string>{GetParam().page}) << result.err;
  EXPECT_FALSE(FileExists(IgnoreList()));
}

TEST_P(PageTest, WithTrackingOnTheAddressCarriesTheMachineIdentifier) {
  ASSERT_NO_FATAL_FAILURE(SetTrackingOff(false));
  const RunResult result = RunOrvanel(kFile, GetParam().input);
  EXPECT_EQ(result.exitCode, 0);
  const std::vector<std::string> calls = BrowserCalls(1);
  ASSERT_EQ(calls.size(), 1u) << result.err;
  EXPECT_TRUE(
      std::regex_match(calls[0], std::regex(std::string(GetParam().page) + "\\?_id=[0-9a-f]{32}")))
      << calls[0];
}

INSTANTIATE_TEST_SUITE_P(
    Choices, PageTest,
    testing::Values(PageCase{"EnterAlone", "\n", "http://info.test/type/xyz/tovix"},
                    PageCase{"Choice1", "1\n", "http://info.test/type/xyz/tovix"},
                    PageCase{"Choice2", "2\n", "http://info.test/extension/xyz/tovix"},
                    PageCase{"NotUnderstoodThen2", "hello\n 2 \n",
                             "http://info.test/extension/xyz/tovix"}),
    [](const testing::TestParamInfo<PageCase>& info) { return std::string(info.param.name); });

TEST_F(FileModeTest, AnExtensionIsEncodedInThePageAddress) {
  ASSERT_NO_FATAL_FAILURE(SetTrackingOff(true));
  RunOrvanel("/some/dir/a.x#y z", "2\n");
  EXPECT_EQ(BrowserCalls(1),
            std::vector<std::string>{"http://info.test/extension/x%23y%20z/tovix"});
}

TEST_F(FileModeTest, ChoiceThreeStartsTheChosenApplicationWithTheFile) {
  const RunResult result = RunOrvanel(kFile, "3\n1\n", true);
  EXPECT_EQ(result.exitCode, 0);
  const size_t list = result.err.find("Applications for report.xyz");
  ASSERT_NE(list, std::string::npos) << result.err;
  EXPECT_NE(result.err.find("  1  Recorder\n", list), std::string::npos) << result.err;
  EXPECT_EQ(result.err.find("  2  ", list), std::string::npos) << "listed once:\n" << result.err;
  // The recorder holds orvanel's output open until it ends, so its record is complete.
  EXPECT_EQ(Lines(ReadFile(AppRecord())), std::vector<std::string>{kFile});
  ExpectNoBrowserCall();
}

TEST_F(FileModeTest, ChoiceThreeSaysSoWhenNoApplicationIsKnown) {
  const RunResult result = RunOrvanel(kFile, "3\n");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_NE(result.err.find("No installed application is known for report.xyz"), std::string::npos)
      << result.err;
}

TEST_F(FileModeTest, TheChooserStartsNothingWithoutANumber) {
  for (const char* input : {"3\n", "3\n\n", "3\nq\n", "3\n9\n"}) {
    const RunResult result = RunOrvanel(kFile, input, true);
    EXPECT_EQ(result.exitCode, 0) << input;
  }
  EXPECT_FALSE(FileExists(AppRecord()));
}

TEST_F(FileModeTest, ChoiceFourOnlyIgnoresTheExtension) {
  const RunResult result = RunOrvanel(kFile, "4\n");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(ReadFile(IgnoreList()), "xyz\r\n");
  ExpectNoBrowserCall();
}

TEST_F(FileModeTest, AnIgnoredExtensionGoesStraightToTheChooser) {
  WriteFile(IgnoreList(), "txt\r\nxyz\r\n");
  const RunResult result = RunOrvanel("/other/REPORT.XYZ", "1\n", true);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.err.find("What would you like to do?"), std::string::npos) << result.err;
  EXPECT_EQ(Lines(ReadFile(AppRecord())), std::vector<std::string>{"/other/REPORT.XYZ"});
}

TEST_F(FileModeTest, ClosingOrRunningOutOfAnswersDoesNothing) {
  for (const char* input : {"", "q\n", "hello\n"}) {
    const RunResult result = RunOrvanel(kFile, input, true);
    EXPECT_EQ(result.exitCode, 0) << input;
  }
  EXPECT_FALSE(FileExists(IgnoreList()));
  EXPECT_FALSE(FileExists(AppRecord()));
  ExpectNoBrowserCall();
}

TEST_F(FileModeTest, IgnoringWhereTheDataFolderCannotBeWrittenLeavesEverythingAsItWas) {
  rmdir((dir_ / "data/Orvanel").c_str());
  WriteFile(dir_ / "data/Orvanel", "not a folder");
  const RunResult result = RunOrvanel(kFile, "4\n");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(ReadFile(dir_ / "data/Orvanel"), "not a folder");
  ExpectNoBrowserCall();
}

TEST_F(FileModeTest, ANewerOrvanelIsOfferedAfterThePrompt) {
  ASSERT_NO_FATAL_FAILURE(SetTrackingOff(true));
  DownloadSite site(DownloadSite::Files{{"/software_version.txt", "0.3\n"}});
  const RunResult result = RunOrvanel(kFile, "2\nn\n", false, site.Base());
  EXPECT_EQ(result.exitCode, 0);
  const size_t prompt = result.err.find("What would you like to do?");
  const size_t offer =
      result.err.find("Update Orvanel: Download and install the latest version of Orvanel? [y/N]");
  ASSERT_NE(prompt, std::string::npos) << result.err;
  ASSERT_NE(offer, std::string::npos) << result.err;
  EXPECT_LT(prompt, offer);
  EXPECT_EQ(BrowserCalls(1), std::vector<std::string>{"http://info.test/extension/xyz/tovix"});
  EXPECT_FALSE(FileExists(PkexecRecord()));
}

// The road of one opened file: read about its type, then take the newer catalogue,
// which the elevated install fetches.
TEST_F(FileModeTest, ANewerCatalogueTakenAfterThePromptRelaunchesTheInstall) {
  ASSERT_NO_FATAL_FAILURE(SetTrackingOff(true));
  DownloadSite site(
      DownloadSite::Files{{"/software_version.txt", "0.2"}, {"/data_version.txt", "17"}});
  const RunResult result = RunOrvanel(kFile, "2\ny\n", false, site.Base());
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(BrowserCalls(1), std::vector<std::string>{"http://info.test/extension/xyz/tovix"});
  const std::vector<std::string> elevated = Lines(ReadFile(PkexecRecord()));
  ASSERT_EQ(elevated.size(), 1u) << result.err;
  EXPECT_TRUE(std::regex_search(elevated[0], std::regex("/orvanel -i$"))) << elevated[0];
}

}  // namespace
}  // namespace orvanel::test
