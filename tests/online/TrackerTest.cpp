// The usage reporter against a loopback info site, with a chosen adapter address.
#include <sys/inotify.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "CaseName.h"
#include "StreamCapture.h"
#include "TrackerFixture.h"
#include "online/Tracker.h"

namespace orvanel::test {
namespace {

const std::string kIdentifier = standin::kAdapterIdentifier;

std::string ReportUrl(const std::string& action, const std::string& data,
                      const std::string& id = kIdentifier) {
  return "/analytics/analytics.php?ID=" + id + "&" + action + "=true&data=" + data +
         "&software=0.2&pub=tovix";
}

// Names of the files opened in a folder while it lives.
class OpenedFiles {
 public:
  explicit OpenedFiles(const std::string& folder) : fd_(inotify_init1(IN_NONBLOCK)) {
    EXPECT_GE(inotify_add_watch(fd_, folder.c_str(), IN_OPEN), 0);
  }
  ~OpenedFiles() { close(fd_); }

  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t length; (length = read(fd_, buffer, sizeof buffer)) > 0;) {
      for (char* at = buffer; at < buffer + length;) {
        const auto* event = reinterpret_cast<const inotify_event*>(at);
        names.push_back(event->len ? event->name : "");
        at += sizeof(inotify_event) + event->len;
      }
    }
    return names;
  }

 private:
  int fd_;
};

// --- Reports ------------------------------------------------------------------

struct DataCase {
  const char* name;
  std::optional<std::string> file;  // nullopt: no data_version.txt
  std::string data;                 // as the requests carry it
};

class ReportTest : public TrackerFixture, public ::testing::WithParamInterface<DataCase> {};

TEST_P(ReportTest, RequestsCarryTheIdentifierTheDataVersionAndTheProgram) {
  if (GetParam().file) WriteDataVersion(*GetParam().file);
  Tracker tracker;
  tracker.ReportInstall();
  tracker.ReportUninstall();
  EXPECT_EQ(site.Requests(), (std::vector<std::string>{ReportUrl("install", GetParam().data),
                                                        ReportUrl("uninstall", GetParam().data)}));
}

INSTANTIATE_TEST_SUITE_P(
    DataFiles, ReportTest,
    ::testing::Values(DataCase{"Number", std::string("17"), "17"},
                      DataCase{"NumberWithLineEnd", std::string("17\r\n"), "17"},
                      DataCase{"TwoLines", std::string("3\n4\n"), "34"},
                      DataCase{"TwoLinesCrLf", std::string("3\r\n4\r\n"), "34"},
                      DataCase{"LastLineUnended", std::string("3\r\n4"), "34"},
                      DataCase{"EmptyFile", std::string(""), ""},
                      DataCase{"NoFile", std::nullopt, ""}),
    CaseName());

TEST_F(TrackerFixture, IdQueryCarriesTheIdentifierOfTheReports) {
  Tracker tracker;
  tracker.ReportInstall();
  EXPECT_EQ(tracker.IdQuery(), u"?_id=" + AsciiText(kIdentifier.c_str()));
  ASSERT_EQ(site.Requests().size(), 1u);
  EXPECT_NE(site.Requests()[0].find("ID=" + kIdentifier + "&"), std::string::npos);
}

TEST_F(TrackerFixture, EveryReportIsSentAgain) {
  WriteDataVersion("5");
  Tracker tracker;
  tracker.ReportInstall();
  tracker.ReportInstall();
  EXPECT_EQ(site.Requests(), (std::vector<std::string>{ReportUrl("install", "5"), ReportUrl("install", "5")}));
}

TEST_F(TrackerFixture, WithoutAnAdapterTheZeroAddressIdentifiesTheMachine) {
  standin::adapterPresent = false;
  Tracker tracker;
  tracker.ReportUninstall();
  // MD5 of "000000000000", computed with md5sum.
  EXPECT_EQ(site.Requests(), std::vector<std::string>{ReportUrl("uninstall", "", "35b9ab5a36f3234dd26db357fd4a0dc1")});
}

TEST_F(TrackerFixture, InputsAreTakenOnceAtConstruction) {
  WriteDataVersion("17");
  Tracker tracker;
  EXPECT_EQ(standin::adapterReads, 1);
  SetFlagText(u"1");
  WriteDataVersion("18");
  tracker.ReportInstall();
  EXPECT_EQ(site.Requests(), std::vector<std::string>{ReportUrl("install", "17")});
  EXPECT_EQ(standin::adapterReads, 1);
}

TEST_F(TrackerFixture, AnUnreachableSiteIsToldOnStandardErrorOnly) {
  RefusingPort port;
  ScopedEnv deadSite{"ORVANEL_INFO_SITE", port.Base()};
  Tracker tracker;
  StreamCapture err(2);
  tracker.ReportInstall();
  EXPECT_EQ(err.Text(), "curl_easy_perform() failed: Couldn't connect to server\n");
}

// --- Tracking off -------------------------------------------------------------

TEST_F(TrackerFixture, WithTrackingOffNothingIsReadOrSent) {
  SetFlagText(u"1");
  WriteDataVersion("17");
  OpenedFiles opened(dataFolder);
  Tracker tracker;
  tracker.ReportInstall();
  tracker.ReportUninstall();
  EXPECT_EQ(tracker.IdQuery(), u"");
  EXPECT_TRUE(site.Requests().empty());
  EXPECT_EQ(standin::adapterReads, 0);
  EXPECT_TRUE(opened.Names().empty());
}

// The check above only means something if a tracker with tracking on is seen
// reading the adapter and the file.
TEST_F(TrackerFixture, WithTrackingOnTheAdapterAndTheFileAreRead) {
  SetFlagText(u"0");
  WriteDataVersion("17");
  OpenedFiles opened(dataFolder);
  Tracker tracker;
  EXPECT_EQ(standin::adapterReads, 1);
  EXPECT_EQ(opened.Names(), std::vector<std::string>{"data_version.txt"});
}

}  // namespace
}  // namespace orvanel::test
