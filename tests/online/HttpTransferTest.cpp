// The three transfers against a real HTTP server on loopback.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "LoopbackSite.h"
#include "RecordingProgressWindow.h"
#include "StreamCapture.h"
#include "TestSupport.h"
#include "online/HttpTransfer.h"
#include "online/TransferLimits.h"

namespace orvanel::test {
namespace {

Text Wide(const std::string& ascii) { return AsciiText(ascii.c_str()); }

std::string Bytes(size_t count, char first = 'a') {
  std::string bytes;
  for (size_t i = 0; i < count; ++i) bytes.push_back(static_cast<char>(first + i % 26));
  return bytes;
}

size_t LineCount(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

bool NeverGoesBack(const std::vector<int>& positions) {
  return std::is_sorted(positions.begin(), positions.end());
}

class HttpTransferTest : public ::testing::Test {
 protected:
  // Declared first, so that it outlives the site whose threads may still call it.
  RecordingProgressWindow window;
  LoopbackSite site;
  TempDir dir;
  const std::string destination = dir / "download";

  Text Url(const std::string& pathAndQuery) const { return Wide(site.Base() + pathAndQuery); }
  bool Download(const std::string& path, platform::ui::ProgressWindow* window = nullptr) {
    return HttpDownloadFile(Url(path), Wide(destination), window);
  }
};

// --- Ping ---------------------------------------------------------------------

TEST_F(HttpTransferTest, PingRequestsTheUrlAsGivenAndPrintsTheAnswer) {
  site.Serve("/analytics/analytics.php", "recorded");
  StreamCapture out(1), err(2);
  HttpPing(Url("/analytics/analytics.php?ID=abc&install=true&data=&pub=tovix"));
  EXPECT_EQ(site.Requests(),
            std::vector<std::string>{"/analytics/analytics.php?ID=abc&install=true&data=&pub=tovix"});
  EXPECT_EQ(out.Text(), "recorded");
  EXPECT_EQ(err.Text(), "");
}

TEST_F(HttpTransferTest, PingAnsweredWithAnErrorStatusIsNoFailure) {
  StreamCapture out(1), err(2);
  HttpPing(Url("/missing"));
  EXPECT_EQ(site.Requests().size(), 1u);
  EXPECT_EQ(err.Text(), "");
}

TEST(HttpPingTest, RefusedConnectionWritesExactlyOneLine) {
  RefusingPort port;
  StreamCapture err(2);
  HttpPing(Wide(port.Base() + "/analytics/analytics.php?ID=x"));
  const std::string written = err.Text();
  EXPECT_TRUE(StartsWith(written, "curl_easy_perform() failed: ")) << written;
  EXPECT_EQ(LineCount(written), 1u) << written;
  EXPECT_EQ(written.back(), '\n');
}

// --- Text fetch ---------------------------------------------------------------

TEST_F(HttpTransferTest, TextFetchReturnsTheBodyByteForByte) {
  const std::string body("17\r\n\0tail\xff", 10);
  site.Serve("/data_version.txt", body);
  EXPECT_EQ(HttpGetText(Url("/data_version.txt")), body);
}

TEST_F(HttpTransferTest, TextFetchReturnsTheBodyOfAnErrorPage) {
  site.Serve("/software_version.txt", "<h1>gone</h1>", 404);
  EXPECT_EQ(HttpGetText(Url("/software_version.txt")), "<h1>gone</h1>");
}

TEST_F(HttpTransferTest, EachTextFetchReturnsOnlyItsOwnBody) {
  site.Serve("/first", "first body");
  site.Serve("/second", "2");
  EXPECT_EQ(HttpGetText(Url("/first")), "first body");
  EXPECT_EQ(HttpGetText(Url("/second")), "2");
  EXPECT_EQ(HttpGetText(Url("/first")), "first body");
}

// The library-wide state is torn down after each text fetch; whatever comes next
// must set it up again.
TEST_F(HttpTransferTest, EveryKindOfTransferWorksAfterATextFetch) {
  site.Serve("/text", "text");
  site.Serve("/file", "file body");
  site.Serve("/ping", "");
  ASSERT_EQ(HttpGetText(Url("/text")), "text");
  EXPECT_TRUE(Download("/file"));
  EXPECT_EQ(ReadFile(destination), "file body");
  ASSERT_EQ(HttpGetText(Url("/text")), "text");
  {
    StreamCapture err(2);
    HttpPing(Url("/ping"));
    EXPECT_EQ(err.Text(), "");
  }
  EXPECT_EQ(site.Requests().back(), "/ping");
}

TEST_F(HttpTransferTest, BrokenTextFetchReturnsWhatArrived) {
  site.ServeBroken("/data_version.txt", "123", 50);
  EXPECT_EQ(HttpGetText(Url("/data_version.txt")), "123");
}

TEST(HttpGetTextTest, RefusedConnectionGivesAnEmptyText) {
  RefusingPort port;
  EXPECT_EQ(HttpGetText(Wide(port.Base() + "/data_version.txt")), "");
}

// --- Download -----------------------------------------------------------------

TEST_F(HttpTransferTest, DownloadWritesTheBodyAndMovesTheBarToTheEnd) {
  // Twenty bytes at a time; the site waits until each tenth has shown on the bar.
  std::vector<std::string> parts;
  for (int i = 0; i < 10; ++i) parts.push_back(Bytes(20, static_cast<char>('a' + i)));
  site.ServeInParts("/extensions.txt", parts, [&](size_t sent) {
    EXPECT_TRUE(window.WaitFor(static_cast<int>(sent) * 10)) << "after part " << sent;
  });
  WriteFile(destination, Bytes(500, 'A'));  // an older, longer file is replaced

  EXPECT_TRUE(Download("/extensions.txt", &window));
  std::string all;
  for (const auto& part : parts) all += part;
  EXPECT_EQ(ReadFile(destination), all);
  const std::vector<int> positions = window.Positions();
  ASSERT_FALSE(positions.empty());
  EXPECT_TRUE(NeverGoesBack(positions)) << ::testing::PrintToString(positions);
  EXPECT_EQ(positions.front(), 0);
  EXPECT_EQ(positions.back(), 100);
}

TEST_F(HttpTransferTest, PositionDividesFirstThenTruncates) {
  // 29 / 100 * 100 is a little below 29 in double precision.
  site.ServeInParts("/installer.exe", {Bytes(29), Bytes(71)}, [&](size_t sent) {
    if (sent == 1) {
      EXPECT_TRUE(window.WaitFor(28));
    }
  });
  EXPECT_TRUE(Download("/installer.exe", &window));
  const std::vector<int> positions = window.Positions();
  EXPECT_EQ(std::count(positions.begin(), positions.end(), 29), 0)
      << ::testing::PrintToString(positions);
  EXPECT_EQ(positions.back(), 100);
}

TEST_F(HttpTransferTest, WithoutADeclaredLengthTheBarStaysAtZero) {
  const std::string body = Bytes(300);
  site.ServeUnsized("/extensions.txt", body);
  EXPECT_TRUE(Download("/extensions.txt", &window));
  EXPECT_EQ(ReadFile(destination), body);
  const std::vector<int> positions = window.Positions();
  ASSERT_FALSE(positions.empty());
  EXPECT_TRUE(std::all_of(positions.begin(), positions.end(), [](int p) { return p == 0; }))
      << ::testing::PrintToString(positions);
}

TEST_F(HttpTransferTest, DownloadWithoutAWindowStillWritesTheFile) {
  site.Serve("/extensions.txt", "xyz\r\nabc\r\n");
  EXPECT_TRUE(Download("/extensions.txt"));
  EXPECT_EQ(ReadFile(destination), "xyz\r\nabc\r\n");
}

class ErrorStatusTest : public HttpTransferTest, public ::testing::WithParamInterface<int> {};

TEST_P(ErrorStatusTest, AnErrorPageIsAFailedDownload) {
  site.Serve("/extensions.txt", "<html>error page</html>", GetParam());
  EXPECT_FALSE(Download("/extensions.txt"));
  EXPECT_EQ(ReadFile(destination).find("error page"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Statuses, ErrorStatusTest, ::testing::Values(400, 403, 404, 500, 503),
                         [](const auto& info) { return "Status" + std::to_string(info.param); });

TEST_F(HttpTransferTest, StatusesBelow400AreSuccessfulDownloads) {
  site.Serve("/no-content", "", 204);
  site.Serve("/partial-info", "body", 203);
  EXPECT_TRUE(Download("/no-content"));
  EXPECT_TRUE(Download("/partial-info"));
  EXPECT_EQ(ReadFile(destination), "body");
}

TEST_F(HttpTransferTest, DroppedConnectionFailsAndKeepsWhatArrived) {
  site.ServeBroken("/installer.exe", Bytes(700), 2000);
  EXPECT_FALSE(Download("/installer.exe"));
  EXPECT_EQ(ReadFile(destination), Bytes(700));
}

TEST_F(HttpTransferTest, DestinationThatCannotBeOpenedFailsWithoutARequest) {
  site.Serve("/extensions.txt", "xyz");
  EXPECT_FALSE(HttpDownloadFile(Url("/extensions.txt"), Wide(dir / "missing/folder/file"), nullptr));
  EXPECT_TRUE(site.Requests().empty());
}

TEST(HttpDownloadFileTest, RefusedConnectionFails) {
  RefusingPort port;
  TempDir dir;
  EXPECT_FALSE(HttpDownloadFile(Wide(port.Base() + "/extensions.txt"), Wide(dir / "file"), nullptr));
}

// --- Stalled sites ------------------------------------------------------------

// A site that stops sending is given up after the stall time, here shortened to
// a second. The default of half a minute is the same mechanism.
class StalledSiteTest : public HttpTransferTest {
 protected:
  void SetUp() override {
    saved = CurrentTransferLimits();
    SetTransferLimits({saved.connectSeconds, 1});
  }
  void TearDown() override { SetTransferLimits(saved); }
  TransferLimits saved;
};

TEST_F(StalledSiteTest, DownloadFromASiteThatStopsMidwayFailsAndKeepsWhatArrived) {
  site.ServeStalled("/installer.exe", Bytes(100), 1000);
  EXPECT_FALSE(Download("/installer.exe", &window));
  EXPECT_EQ(ReadFile(destination), Bytes(100));
  EXPECT_EQ(window.Positions().back(), 10);
}

TEST_F(StalledSiteTest, DownloadFromASiteThatNeverAnswersFails) {
  site.ServeSilent("/extensions.txt");
  EXPECT_FALSE(Download("/extensions.txt"));
  EXPECT_EQ(ReadFile(destination), "");
}

TEST_F(StalledSiteTest, TextFetchFromAStalledSiteReturnsWhatArrived) {
  site.ServeStalled("/software_version.txt", "0.", 10);
  EXPECT_EQ(HttpGetText(Url("/software_version.txt")), "0.");
}

TEST_F(StalledSiteTest, PingToASiteThatNeverAnswersReportsTheTimeOut) {
  site.ServeSilent("/analytics/analytics.php");
  StreamCapture err(2);
  HttpPing(Url("/analytics/analytics.php?ID=x"));
  EXPECT_EQ(err.Text(), "curl_easy_perform() failed: Timeout was reached\n");
}

}  // namespace
}  // namespace orvanel::test
