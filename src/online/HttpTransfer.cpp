#include "online/HttpTransfer.h"

#include <curl/curl.h>

#include <cstdint>
#include <cstdio>
#include <utility>

#include "online/TransferLimits.h"
#include "platform/CodePage.h"
#include "platform/Diagnostics.h"
#include "platform/Files.h"

namespace orvanel {
namespace {

// The receive buffer of a file download, as large as the curl tool's own.
constexpr long kDownloadBlockBytes = 100 * 1024;

// Only the answer that was asked for counts: a redirect (never followed) or an error
// status carries some other page, which must not be taken for the file or the text.
bool IsSuccessStatus(long status) { return status >= 200 && status <= 299; }

long ResponseStatus(CURL* curl) {
  long status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  return status;
}

// Connection, stall and total time limits; a limit that fires fails the transfer.
void SetTimeLimits(CURL* curl, long totalSeconds) {
  const TransferLimits& limits = CurrentTransferLimits();
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, limits.connectSeconds);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, limits.slowestBytesPerSecond);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, limits.stallSeconds);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT, totalSeconds);
}

// The URLs are plain ASCII, so the system's narrow charset gives the same bytes
// that any other conversion would.
std::string UrlBytes(const Text& url) { return platform::WideToAnsi(url); }

// How a text fetch or a download ended.
struct Outcome {
  CURLcode result = CURLE_OK;
  long status = 0;
  bool tooLarge = false;
};

// Why the transfer did not bring what was asked for; empty when it did.
std::string FailureReason(const Outcome& outcome) {
  if (outcome.tooLarge) return "the answer is larger than allowed";
  if (outcome.status != 0 && !IsSuccessStatus(outcome.status))
    return "the site answered with status " + std::to_string(outcome.status);
  if (outcome.result != CURLE_OK) return curl_easy_strerror(outcome.result);
  if (!IsSuccessStatus(outcome.status)) return "no HTTP answer came";
  return std::string();
}

// One line through the diagnostics channel for a transfer that failed; true when it did.
bool ReportFailure(const std::string& address, const Outcome& outcome) {
  const std::string reason = FailureReason(outcome);
  if (reason.empty()) return false;
  platform::ReportDiagnostic("orvanel: " + address + ": " + reason);
  return true;
}

// What a receiver needs: the transfer (for its status), a byte budget and where to put
// the bytes. Returning less than it was given makes libcurl fail the transfer, which is
// how a refused status or an answer over budget ends it at once.
struct Receiver {
  CURL* curl = nullptr;
  int64_t maxBytes = 0;
  int64_t received = 0;
  bool tooLarge = false;

  // False when these bytes must not be kept.
  bool Accept(size_t bytes) {
    if (!IsSuccessStatus(ResponseStatus(curl))) return false;
    received += static_cast<int64_t>(bytes);
    tooLarge = received > maxBytes;
    return !tooLarge;
  }
};

struct TextReceiver : Receiver {
  std::string text;
};

size_t ReceiveText(char* data, size_t size, size_t count, void* receiver) {
  auto& text = *static_cast<TextReceiver*>(receiver);
  if (!text.Accept(size * count)) return 0;
  text.text.append(data, size * count);
  return size * count;
}

struct FileReceiver : Receiver {
  std::FILE* file = nullptr;
};

size_t ReceiveIntoFile(char* data, size_t size, size_t count, void* receiver) {
  auto& file = *static_cast<FileReceiver*>(receiver);
  if (!file.Accept(size * count)) return 0;
  return std::fwrite(data, 1, size * count, file.file);
}

// A report's answer is of no use, but goes to standard output, as much of it as a text
// answer may hold; whatever its status.
size_t ReceiveReportAnswer(char* data, size_t size, size_t count, void* receiver) {
  auto& answer = *static_cast<Receiver*>(receiver);
  answer.received += static_cast<int64_t>(size * count);
  if (answer.received > answer.maxBytes) return 0;
  return std::fwrite(data, 1, size * count, stdout);
}

// The progress window of the download in progress and the last position it was
// given: the bar only moves when the whole percentage changes, so only changes
// are sent, and the transfer does not wait on the window for every block.
struct ProgressReport {
  platform::ui::ProgressWindow* window = nullptr;
  int lastPosition = -1;
};

int ReportProgress(void* report, curl_off_t total, curl_off_t now, curl_off_t, curl_off_t) {
  auto& progress = *static_cast<ProgressReport*>(report);
  // Division first, then truncation: 29 of 100 bytes shows 28. An unknown total shows 0.
  int position = 0;
  if (total > 0) {
    position = static_cast<int>(static_cast<double>(now) / static_cast<double>(total) * 100.0);
  }
  if (progress.window && position != progress.lastPosition) {
    progress.lastPosition = position;
    progress.window->SetPosition(position);
  }
  return 0;
}

}  // namespace

void HttpPing(const Text& url) {
  CURL* curl = curl_easy_init();
  if (!curl) return;
  const std::string address = UrlBytes(url);
  Receiver answer{curl, static_cast<int64_t>(CurrentTransferLimits().textMaxBytes)};
  curl_easy_setopt(curl, CURLOPT_URL, address.c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, ReceiveReportAnswer);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer);
  SetTimeLimits(curl, CurrentTransferLimits().textTotalSeconds);
  const CURLcode result = curl_easy_perform(curl);
  std::fflush(stdout);
  if (result != CURLE_OK)
    platform::ReportDiagnostic(std::string("curl_easy_perform() failed: ") +
                               curl_easy_strerror(result));
  curl_easy_cleanup(curl);
}

std::optional<std::string> HttpGetText(const Text& url) {
  const std::string address = UrlBytes(url);
  const TransferLimits& limits = CurrentTransferLimits();
  TextReceiver receiver;
  Outcome outcome{CURLE_FAILED_INIT};
  if (CURL* curl = curl_easy_init()) {
    receiver.curl = curl;
    receiver.maxBytes = static_cast<int64_t>(limits.textMaxBytes);
    curl_easy_setopt(curl, CURLOPT_URL, address.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, ReceiveText);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &receiver);
    // An answer that declares itself too long is refused before its body comes.
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.textMaxBytes));
    SetTimeLimits(curl, limits.textTotalSeconds);
    outcome.result = curl_easy_perform(curl);
    outcome.status = ResponseStatus(curl);
    outcome.tooLarge = receiver.tooLarge || outcome.result == CURLE_FILESIZE_EXCEEDED;
    curl_easy_cleanup(curl);
  }
  // Library-wide state is torn down after every fetch; the next transfer sets it up again.
  curl_global_cleanup();
  // A part of an answer is no answer: "12" cut from "120" would be read as a version.
  if (ReportFailure(address, outcome)) return std::nullopt;
  return std::move(receiver.text);
}

bool HttpDownloadFile(const Text& url, const Text& destination,
                      platform::ui::ProgressWindow* progress) {
  CURL* curl = curl_easy_init();
  if (!curl) return false;
  std::FILE* file = platform::OpenFile(destination, "wb");
  if (!file) {
    curl_easy_cleanup(curl);
    return false;
  }
  const std::string address = UrlBytes(url);
  const TransferLimits& limits = CurrentTransferLimits();
  FileReceiver receiver;
  receiver.curl = curl;
  receiver.maxBytes = limits.downloadMaxBytes;
  receiver.file = file;
  ProgressReport report{progress};
  curl_easy_setopt(curl, CURLOPT_URL, address.c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, ReceiveIntoFile);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &receiver);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, ReportProgress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &report);
  curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE,
                   static_cast<curl_off_t>(limits.downloadMaxBytes));
  SetTimeLimits(curl, limits.downloadTotalSeconds);
  // Large blocks: an installer of many megabytes then costs a few thousand calls
  // of the receiver, not tens of thousands.
  curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, kDownloadBlockBytes);
  Outcome outcome;
  outcome.result = curl_easy_perform(curl);
  outcome.status = ResponseStatus(curl);
  outcome.tooLarge = receiver.tooLarge || outcome.result == CURLE_FILESIZE_EXCEEDED;
  curl_easy_cleanup(curl);
  // A file whose last bytes could not be written out is no complete download either.
  const bool closed = std::fclose(file) == 0;
  if (ReportFailure(address, outcome)) return false;
  return closed;
}

}  // namespace orvanel
