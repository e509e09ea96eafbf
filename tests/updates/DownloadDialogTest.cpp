#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

#include "CaseName.h"
#include "LoopbackSite.h"
#include "StreamCapture.h"
#include "TestSupport.h"
#include "platform/DataFolder.h"
#include "updates/DownloadDialog.h"

namespace orvanel::test {
namespace {

// A loopback site and a data folder; the dialog's progress goes to a captured
// standard error.
class DownloadDialogTest : public testing::Test {
 protected:
  DownloadDialogTest() {
    mkdir(DataFolder().c_str(), 0755);
    SetProcessDataFolder(Utf8ToWide(DataFolder() + "/"));
  }

  std::string DataFolder() const { return dir_ / "Orvanel"; }
  std::string Target() const { return DataFolder() + "/extensions.txt"; }
  std::string TmpFile() const { return DataFolder() + "/tmp_file"; }

  bool Download(const std::string& path) {
    return RunDownloadDialog(Utf8ToWide(site_.Base() + path), u"extensions.txt");
  }

  TempDir dir_;
  LoopbackSite site_;
  StreamCapture stderr_{STDERR_FILENO};
};

const std::string kCatalogue = "extensions\r\nxyz\r\nabc\r\n";

TEST_F(DownloadDialogTest, CompletedDownloadBecomesTheTarget) {
  site_.Serve("/extensions.txt", kCatalogue);
  EXPECT_TRUE(Download("/extensions.txt"));
  EXPECT_EQ(ReadFile(Target()), kCatalogue);
  EXPECT_FALSE(FileExists(TmpFile()));
  EXPECT_EQ(site_.Requests(), std::vector<std::string>{"/extensions.txt"});
}

TEST_F(DownloadDialogTest, CompletedDownloadReplacesAnEarlierTarget) {
  WriteFile(Target(), "an older and much longer catalogue\nold\nlines\n");
  site_.Serve("/extensions.txt", kCatalogue);
  EXPECT_TRUE(Download("/extensions.txt"));
  EXPECT_EQ(ReadFile(Target()), kCatalogue);
  EXPECT_FALSE(FileExists(TmpFile()));
}

TEST_F(DownloadDialogTest, CompletedEmptyDownloadLeavesAnEmptyTarget) {
  WriteFile(Target(), kCatalogue);
  site_.Serve("/extensions.txt", "");
  EXPECT_TRUE(Download("/extensions.txt"));
  EXPECT_TRUE(FileExists(Target()));
  EXPECT_EQ(ReadFile(Target()), "");
  EXPECT_FALSE(FileExists(TmpFile()));
}

TEST_F(DownloadDialogTest, ProgressShowsUnderTheDialogsCaption) {
  site_.Serve("/extensions.txt", std::string(200000, 'x'));
  EXPECT_TRUE(Download("/extensions.txt"));
  const std::string shown = stderr_.Text();
  EXPECT_EQ(shown.rfind("Orvanel Update\n", 0), 0u) << shown;
  EXPECT_NE(shown.find("\n100%\n"), std::string::npos) << shown;
}

struct FailureCase {
  const char* name;
  const char* path;  // on the local site; "unreachable": a closed port
};

class FailedDownloadTest : public DownloadDialogTest,
                           public testing::WithParamInterface<FailureCase> {};

TEST_P(FailedDownloadTest, LeavesTheTargetByteForByte) {
  const std::string earlier = "old\r\ncatalogue\r\n\x01\xff";
  WriteFile(Target(), earlier);
  site_.Serve("/error", "<html>Server error</html>", 500);
  site_.ServeBroken("/broken", "new\r\npart", 100000);

  const std::string path = GetParam().path;
  const bool replaced =
      path == "unreachable"
          ? RunDownloadDialog(u"http://127.0.0.1:9/extensions.txt", u"extensions.txt")
          : Download(path);

  EXPECT_FALSE(replaced);
  EXPECT_EQ(ReadFile(Target()), earlier);
}

INSTANTIATE_TEST_SUITE_P(
    Transfers, FailedDownloadTest,
    testing::Values(FailureCase{"NotFound", "/missing"}, FailureCase{"ServerError", "/error"},
                    FailureCase{"BrokenOff", "/broken"}, FailureCase{"Unreachable", "unreachable"}),
    CaseName());

TEST_F(DownloadDialogTest, FailedDownloadWithoutTargetCreatesNone) {
  EXPECT_FALSE(Download("/missing"));
  EXPECT_FALSE(FileExists(Target()));
}

TEST_F(DownloadDialogTest, NextDownloadReusesTheTmpFileOfAFailedOne) {
  site_.ServeBroken("/broken", std::string(5000, 'p'), 100000);
  site_.Serve("/extensions.txt", kCatalogue);
  ASSERT_FALSE(Download("/broken"));
  ASSERT_TRUE(FileExists(TmpFile())) << "a broken transfer keeps what arrived";

  EXPECT_TRUE(Download("/extensions.txt"));
  EXPECT_EQ(ReadFile(Target()), kCatalogue) << "nothing of the broken transfer remains";
  EXPECT_FALSE(FileExists(TmpFile()));
}

TEST_F(DownloadDialogTest, MissingDataFolderFailsWithoutCreatingIt) {
  site_.Serve("/extensions.txt", kCatalogue);
  rmdir(DataFolder().c_str());
  EXPECT_FALSE(Download("/extensions.txt"));
  EXPECT_FALSE(FileExists(DataFolder()));
}

TEST_F(DownloadDialogTest, UncreatableTmpFileFailsAndKeepsTheTarget) {
  WriteFile(Target(), kCatalogue);
  mkdir(TmpFile().c_str(), 0755);  // not writable as a file, even for root
  site_.Serve("/extensions.txt", "new catalogue");
  EXPECT_FALSE(Download("/extensions.txt"));
  EXPECT_EQ(ReadFile(Target()), kCatalogue);
}

TEST_F(DownloadDialogTest, TargetThatCannotBeReplacedIsReportedAndKept) {
  mkdir(Target().c_str(), 0755);  // a folder cannot be replaced by a file
  site_.Serve("/extensions.txt", kCatalogue);
  EXPECT_FALSE(Download("/extensions.txt"));
  struct stat info {};
  ASSERT_EQ(stat(Target().c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_EQ(ReadFile(TmpFile()), kCatalogue) << "the new content waits in tmp_file";
}

TEST_F(DownloadDialogTest, TargetNameIsTakenFromTheCall) {
  site_.Serve("/installer.exe", std::string("MZ\0\x90", 4));
  WriteFile(Target(), kCatalogue);
  EXPECT_TRUE(RunDownloadDialog(Utf8ToWide(site_.Base() + "/installer.exe"), u"installer.exe"));
  EXPECT_EQ(ReadFile(DataFolder() + "/installer.exe"), std::string("MZ\0\x90", 4));
  EXPECT_EQ(ReadFile(Target()), kCatalogue);
}

}  // namespace
}  // namespace orvanel::test
