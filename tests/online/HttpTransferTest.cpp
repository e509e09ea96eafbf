// The three transfers against a real HTTP server on loopback.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "CaseName.h"
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

// A report's answer is of no use: an endless one is cut off at the text limit.
TEST_F(HttpTransferTest, PingAnswerIsCutOffAtTheTextLimit) {
  site.ServeEndless("/analytics/analytics.php", Bytes(4096), std::chrono::milliseconds(0));
  StreamCapture out(1), err(2);
  HttpPing(Url("/analytics/analytics.php?ID=x"));
  EXPECT_LE(out.Text().size(), CurrentTransferLimits().textMaxBytes);
  EXPECT_TRUE(StartsWith(err.Text(), "curl_easy_perform() failed: ")) << err.Text();
  EXPECT_EQ(LineCount(err.Text()), 1u) << err.Text();
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

// Any answer but a 2xx is some other page: "404 Not Found" must not read as version 404.
struct StatusCase {
  const char* name;
  int status;
  const char* body;
  bool taken;  // is this the thing asked for?
};

const StatusCase kStatusCases[] = {
    {"Ok", 200, "17", true},
    {"NonAuthoritative", 203, "17", true},
    {"NoContent", 204, "", true},
    {"MovedPermanently", 301, "<a href=\"/elsewhere\">9</a>", false},
    {"Found", 302, "302", false},
    {"SeeOther", 303, "9", false},
    {"NotModified", 304, "", false},
    {"TemporaryRedirect", 307, "9", false},
    {"PermanentRedirect", 308, "9", false},
    {"BadRequest", 400, "400 Bad Request", false},
    {"NotFound", 404, "404 Not Found", false},
    {"ServerError", 500, "500", false},
    {"Unavailable", 503, "<html>try later</html>", false},
};

class StatusTest : public HttpTransferTest, public ::testing::WithParamInterface<StatusCase> {
 protected:
  void SetUp() override {
    const StatusCase& c = GetParam();
    if (c.status >= 300 && c.status < 400) {
      site.Serve("/elsewhere", "not this either");
      site.ServeRedirect("/file", c.status, site.Base() + "/elsewhere", c.body);
    } else {
      site.Serve("/file", c.body, c.status);
    }
  }
};

TEST_P(StatusTest, OnlyA2xxAnswerIsTheTextAskedFor) {
  const StatusCase& c = GetParam();
  StreamCapture err(2);
  const std::optional<std::string> text = HttpGetText(Url("/file"));
  if (c.taken) {
    EXPECT_EQ(text, std::string(c.body));
    EXPECT_EQ(err.Text(), "");
  } else {
    EXPECT_EQ(text, std::nullopt);
    EXPECT_NE(err.Text().find("status " + std::to_string(c.status)), std::string::npos)
        << err.Text();
  }
  EXPECT_EQ(site.Requests(), std::vector<std::string>{"/file"}) << "no redirect is followed";
}

TEST_P(StatusTest, OnlyA2xxAnswerIsAFinishedDownload) {
  const StatusCase& c = GetParam();
  WriteFile(destination, "earlier");
  EXPECT_EQ(Download("/file"), c.taken);
  // Not one byte of another page reaches the file.
  EXPECT_EQ(ReadFile(destination), c.taken ? std::string(c.body) : std::string());
  EXPECT_EQ(site.Requests(), std::vector<std::string>{"/file"}) << "no redirect is followed";
}

INSTANTIATE_TEST_SUITE_P(Statuses, StatusTest, ::testing::ValuesIn(kStatusCases), CaseName());

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
  ASSERT_EQ(HttpGetText(Url("/text")), std::string("text"));
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

// "12" of a "120" that broke off would be read as a version of its own.
TEST_F(HttpTransferTest, BrokenTextFetchReturnsNothing) {
  site.ServeBroken("/data_version.txt", "12", 3);
  EXPECT_EQ(HttpGetText(Url("/data_version.txt")), std::nullopt);
}

// Text answers are held in memory: up to the limit whole, beyond it not at all,
// whether the site declares the length or not.
TEST_F(HttpTransferTest, TextAnswersAreKeptUpToTheLimitAndRefusedBeyondIt) {
  const size_t limit = CurrentTransferLimits().textMaxBytes;
  ASSERT_EQ(limit, 64u * 1024);
  site.Serve("/at-limit", Bytes(limit));
  site.Serve("/over-limit", Bytes(limit + 1));
  site.ServeUnsized("/unsized-at-limit", Bytes(limit));
  site.ServeUnsized("/unsized-over-limit", Bytes(limit + 1));
  site.ServeEndless("/endless", Bytes(4096), std::chrono::milliseconds(0));
  EXPECT_EQ(HttpGetText(Url("/at-limit")), Bytes(limit));
  EXPECT_EQ(HttpGetText(Url("/unsized-at-limit")), Bytes(limit));
  StreamCapture err(2);
  EXPECT_EQ(HttpGetText(Url("/over-limit")), std::nullopt);
  EXPECT_EQ(HttpGetText(Url("/unsized-over-limit")), std::nullopt);
  EXPECT_EQ(HttpGetText(Url("/endless")), std::nullopt);
  EXPECT_EQ(LineCount(err.Text()), 3u) << err.Text();
}

TEST(HttpGetTextTest, RefusedConnectionGivesNothing) {
  RefusingPort port;
  EXPECT_EQ(HttpGetText(Wide(port.Base() + "/data_version.txt")), std::nullopt);
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

TEST_F(HttpTransferTest, DownloadsAreRefusedBeyondTheirLimit) {
  const TransferLimits saved = CurrentTransferLimits();
  TransferLimits small = saved;
  small.downloadMaxBytes = 1000;
  SetTransferLimits(small);
  site.Serve("/at-limit", Bytes(1000));
  site.Serve("/declared-over", Bytes(1001));
  site.ServeUnsized("/unsized-over", Bytes(1001));
  site.ServeEndless("/endless", Bytes(100), std::chrono::milliseconds(0));
  EXPECT_TRUE(Download("/at-limit"));
  EXPECT_EQ(ReadFile(destination), Bytes(1000));
  EXPECT_FALSE(Download("/declared-over"));
  EXPECT_EQ(ReadFile(destination), "") << "a declared length over the limit is refused at once";
  EXPECT_FALSE(Download("/unsized-over"));
  EXPECT_FALSE(Download("/endless"));
  EXPECT_LE(ReadFile(destination).size(), 1000u);
  SetTransferLimits(saved);
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

// A site that stops sending, or sends slower than the slowest rate allowed, is given up
// after the stall time, here shortened to a second; one that keeps sending just fast
// enough is given up at the total time, here three seconds. The defaults (half a
// minute, a minute) are the same mechanism.
class StalledSiteTest : public HttpTransferTest {
 protected:
  void SetUp() override {
    saved = CurrentTransferLimits();
    TransferLimits shortened = saved;
    shortened.stallSeconds = 1;
    shortened.textTotalSeconds = 3;
    shortened.downloadTotalSeconds = 3;
    SetTransferLimits(shortened);
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

TEST_F(StalledSiteTest, TextFetchFromAStalledSiteReturnsNothing) {
  site.ServeStalled("/software_version.txt", "0.", 10);
  EXPECT_EQ(HttpGetText(Url("/software_version.txt")), std::nullopt);
}

// Ten bytes a second, without end: below the slowest rate allowed.
TEST_F(StalledSiteTest, EndlessTrickleIsGivenUp) {
  site.ServeEndless("/installer.exe", "x", std::chrono::milliseconds(100));
  site.ServeEndless("/data_version.txt", "1", std::chrono::milliseconds(100));
  EXPECT_FALSE(Download("/installer.exe"));
  EXPECT_EQ(HttpGetText(Url("/data_version.txt")), std::nullopt);
}

// A thousand bytes a second, above the slowest rate, without end: the total time ends it.
TEST_F(StalledSiteTest, EndlessAnswerFastEnoughIsGivenUpAtTheTotalTime) {
  site.ServeEndless("/installer.exe", Bytes(100), std::chrono::milliseconds(100));
  site.ServeEndless("/data_version.txt", "1", std::chrono::milliseconds(1));
  StreamCapture err(2);
  EXPECT_FALSE(Download("/installer.exe"));
  EXPECT_EQ(HttpGetText(Url("/data_version.txt")), std::nullopt);
  EXPECT_EQ(LineCount(err.Text()), 2u) << err.Text();
  EXPECT_NE(err.Text().find("Timeout was reached"), std::string::npos) << err.Text();
}

TEST_F(StalledSiteTest, PingToASiteThatNeverAnswersReportsTheTimeOut) {
  site.ServeSilent("/analytics/analytics.php");
  StreamCapture err(2);
  HttpPing(Url("/analytics/analytics.php?ID=x"));
  EXPECT_EQ(err.Text(), "curl_easy_perform() failed: Timeout was reached\n");
}

}  // namespace
}  // namespace orvanel::test
