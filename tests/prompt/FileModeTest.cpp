// orvanel started with a file, as the desktop starts it, answered through the
// terminal frontend. The browser and the chosen application are recording scripts.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <regex>
#include <string>
#include <vector>

#include "CaseName.h"
#include "LoopbackSite.h"
#include "ProgramFixture.h"

namespace orvanel::test {
namespace {

constexpr char kFile[] = "/some/dir/report.xyz";
constexpr char kInfoSite[] = "http://info.test";  // only ever part of a page address

class FileModeTest : public ProgramFixture {
 protected:
  FileModeTest() {
    CreateDataFolder();
    UseSites(kInfoSite, kNoSite);
    AddStandIn("recorder");
    for (const char* folder : {"apps", "apps/applications"}) mkdir((dir_ / folder).c_str(), 0755);
    // An installed application that declares every file type, known to GIO's cache too.
    WriteFile(dir_ / "apps/applications/recorder.desktop",
              "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" + StandInPath("recorder") +
                  " %f\nMimeType=application/octet-stream;\n");
    WriteFile(dir_ / "apps/applications/mimeinfo.cache",
              "[MIME Cache]\napplication/octet-stream=recorder.desktop;\n");
  }

  std::string AppRecord() const { return RecordOf("recorder"); }
  std::string IgnoreList() const { return DataFolder() + "/ignore.txt"; }

  // With `withApps` the recorder is the one installed application; else there is none.
  RunResult RunWithFile(const std::string& file, const std::string& input, bool withApps = false) {
    RunOptions options;
    options.input = input;
    if (withApps) options.env["XDG_DATA_DIRS"] = dir_ / "apps";
    return RunOrvanel({file}, options);
  }

  void SetTrackingOff(bool off) {
    const RunResult result =
        RunProgram("orvanel-reg", {"add", "HKCR\\Orvanel", "/v", "private", "/d", off ? "1" : "0"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
  }

  // The browser runs detached and may write its record after orvanel has ended.
  std::vector<std::string> BrowserCalls(size_t expected) const {
    return Calls("xdg-open", expected);
  }

  // No browser call: given the time a started one takes to write its record.
  void ExpectNoBrowserCall() const {
    const std::vector<std::string> calls = Calls("xdg-open", 1, kStrayCallWait);
    EXPECT_TRUE(calls.empty()) << testing::PrintToString(calls);
  }
};

TEST_F(FileModeTest, ThePromptShowsTheFileAndItsChoices) {
  const RunResult result = RunWithFile(kFile, "q\n");
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
  const RunResult result = RunWithFile(kFile, GetParam().input);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(BrowserCalls(1), std::vector<std::string>{GetParam().page}) << result.err;
  EXPECT_FALSE(FileExists(IgnoreList()));
}

TEST_P(PageTest, WithTrackingOnTheAddressCarriesTheMachineIdentifier) {
  ASSERT_NO_FATAL_FAILURE(SetTrackingOff(false));
  const RunResult result = RunWithFile(kFile, GetParam().input);
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
    CaseName());

TEST_F(FileModeTest, AnExtensionIsEncodedInThePageAddress) {
  ASSERT_NO_FATAL_FAILURE(SetTrackingOff(true));
  RunWithFile("/some/dir/a.x#y z", "2\n");
  EXPECT_EQ(BrowserCalls(1),
            std::vector<std::string>{"http://info.test/extension/x%23y%20z/tovix"});
}

TEST_F(FileModeTest, ChoiceThreeStartsTheChosenApplicationWithTheFile) {
  const RunResult result = RunWithFile(kFile, "3\n1\n", true);
  EXPECT_EQ(result.exitCode, 0);
  const size_t list = result.err.find("Applications for report.xyz");
  ASSERT_NE(list, std::string::npos) << result.err;
  EXPECT_NE(result.err.find("  1  Recorder\n", list), std::string::npos) << result.err;
  EXPECT_EQ(result.err.find("  2  ", list), std::string::npos) << "listed once:\n" << result.err;
  // The recorder holds orvanel's output open until it ends, so its record is complete.
  EXPECT_EQ(Calls("recorder"), std::vector<std::string>{kFile});
  ExpectNoBrowserCall();
}

TEST_F(FileModeTest, ChoiceThreeSaysSoWhenNoApplicationIsKnown) {
  const RunResult result = RunWithFile(kFile, "3\n");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_NE(result.err.find("No installed application is known for report.xyz"), std::string::npos)
      << result.err;
}

TEST_F(FileModeTest, TheChooserStartsNothingWithoutANumber) {
  for (const char* input : {"3\n", "3\n\n", "3\nq\n", "3\n9\n"}) {
    const RunResult result = RunWithFile(kFile, input, true);
    EXPECT_EQ(result.exitCode, 0) << input;
  }
  EXPECT_FALSE(FileExists(AppRecord()));
}

TEST_F(FileModeTest, ChoiceFourOnlyIgnoresTheExtension) {
  const RunResult result = RunWithFile(kFile, "4\n");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(ReadFile(IgnoreList()), "xyz\r\n");
  ExpectNoBrowserCall();
}

TEST_F(FileModeTest, AnIgnoredExtensionGoesStraightToTheChooser) {
  WriteFile(IgnoreList(), "txt\r\nxyz\r\n");
  const RunResult result = RunWithFile("/other/REPORT.XYZ", "1\n", true);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.err.find("What would you like to do?"), std::string::npos) << result.err;
  EXPECT_EQ(Calls("recorder"), std::vector<std::string>{"/other/REPORT.XYZ"});
}

TEST_F(FileModeTest, ClosingOrRunningOutOfAnswersDoesNothing) {
  for (const char* input : {"", "q\n", "hello\n"}) {
    const RunResult result = RunWithFile(kFile, input, true);
    EXPECT_EQ(result.exitCode, 0) << input;
  }
  EXPECT_FALSE(FileExists(IgnoreList()));
  EXPECT_FALSE(FileExists(AppRecord()));
  ExpectNoBrowserCall();
}

TEST_F(FileModeTest, IgnoringWhereTheDataFolderCannotBeWrittenLeavesEverythingAsItWas) {
  rmdir((DataFolder()).c_str());
  WriteFile(DataFolder(), "not a folder");
  const RunResult result = RunWithFile(kFile, "4\n");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(ReadFile(DataFolder()), "not a folder");
  ExpectNoBrowserCall();
}

TEST_F(FileModeTest, ANewerOrvanelIsOfferedAfterThePrompt) {
  ASSERT_NO_FATAL_FAILURE(SetTrackingOff(true));
  LoopbackSite site;
  site.Serve("/software_version.txt", "0.3\n");
  UseSites(kInfoSite, site.Base());
  const RunResult result = RunWithFile(kFile, "2\nn\n");
  EXPECT_EQ(result.exitCode, 0);
  const size_t prompt = result.err.find("What would you like to do?");
  const size_t offer =
      result.err.find("Update Orvanel: Download and install the latest version of Orvanel? [y/N]");
  ASSERT_NE(prompt, std::string::npos) << result.err;
  ASSERT_NE(offer, std::string::npos) << result.err;
  EXPECT_LT(prompt, offer);
  EXPECT_EQ(BrowserCalls(1), std::vector<std::string>{"http://info.test/extension/xyz/tovix"});
  EXPECT_FALSE(FileExists(RecordOf("pkexec")));
}

// The road of one opened file: read about its type, then take the newer catalogue,
// which the elevated install fetches.
TEST_F(FileModeTest, ANewerCatalogueTakenAfterThePromptRelaunchesTheInstall) {
  ASSERT_NO_FATAL_FAILURE(SetTrackingOff(true));
  LoopbackSite site;
  site.Serve("/software_version.txt", "0.2");
  site.Serve("/data_version.txt", "17");
  UseSites(kInfoSite, site.Base());
  const RunResult result = RunWithFile(kFile, "2\ny\n");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(BrowserCalls(1), std::vector<std::string>{"http://info.test/extension/xyz/tovix"});
  const std::vector<std::string> elevated = Calls("pkexec");
  ASSERT_EQ(elevated.size(), 1u) << result.err;
  EXPECT_TRUE(std::regex_search(elevated[0], std::regex("/orvanel -i$"))) << elevated[0];
}

}  // namespace
}  // namespace orvanel::test
