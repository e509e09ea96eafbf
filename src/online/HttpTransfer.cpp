#include "online/HttpTransfer.h"

#include <curl/curl.h>

#include <cstdio>

#include "online/TransferLimits.h"
#include "platform/CodePage.h"
#include "platform/Diagnostics.h"
#include "platform/Files.h"

namespace orvanel {
namespace {

// Every transfer gives up on a site that does not connect, or that stops sending,
// instead of blocking its caller for good. A time-out is a failed transfer.
void SetLimits(CURL* curl) {
  const TransferLimits& limits = CurrentTransferLimits();
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, limits.connectSeconds);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, limits.stallSeconds);
}

// The receive buffer of a file download, as large as the curl tool's own.
constexpr long kDownloadBlockBytes = 100 * 1024;

// The URLs are plain ASCII, so the system's narrow charset gives the same bytes
// that any other conversion would.
std::string UrlBytes(const Text& url) { return platform::WideToAnsi(url); }

// Appends what arrives to the text of the fetch in progress; never stops a transfer.
size_t ReceiveText(char* data, size_t size, size_t count, void* received) {
  static_cast<std::string*>(received)->append(data, size * count);
  return size * count;
}

// Writes what arrives to the destination; a short write makes libcurl fail the transfer.
size_t ReceiveIntoFile(char* data, size_t size, size_t count, void* file) {
  return std::fwrite(data, size, count, static_cast<std::FILE*>(file));
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
  curl_easy_setopt(curl, CURLOPT_URL, address.c_str());
  SetLimits(curl);
  // The answer goes to libcurl's default receiver, standard output.
  const CURLcode result = curl_easy_perform(curl);
  if (result != CURLE_OK)
    platform::ReportDiagnostic(std::string("curl_easy_perform() failed: ") +
                               curl_easy_strerror(result));
  curl_easy_cleanup(curl);
}

std::string HttpGetText(const Text& url) {
  std::string received;
  const std::string address = UrlBytes(url);
  if (CURL* curl = curl_easy_init()) {
    curl_easy_setopt(curl, CURLOPT_URL, address.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, ReceiveText);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &received);
    SetLimits(curl);
    // Whatever arrived is the answer, also an error page or the start of a broken one.
    curl_easy_perform(curl);
    curl_easy_cleanup(curl);
  }
  // Library-wide state is torn down after every fetch; the next transfer sets it up again.
  curl_global_cleanup();
  return received;
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
  ProgressReport report{progress};
  curl_easy_setopt(curl, CURLOPT_URL, address.c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, ReceiveIntoFile);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, file);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, ReportProgress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &report);
  SetLimits(curl);
  // An error page must never take the place of the file that was asked for.
  curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
  // Large blocks: an installer of many megabytes then costs a few thousand calls
  // of the receiver, not tens of thousands.
  curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, kDownloadBlockBytes);
  const CURLcode result = curl_easy_perform(curl);
  curl_easy_cleanup(curl);
  // A file whose last bytes could not be written out is no complete download either.
  const bool closed = std::fclose(file) == 0;
  return result == CURLE_OK && closed;
}

}  // namespace orvanel
