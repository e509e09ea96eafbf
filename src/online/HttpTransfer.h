// Single HTTP GET transfers over libcurl's easy interface.
#pragma once

#include <string>

#include "common/Text.h"
#include "platform/Ui.h"

namespace orvanel {

// Sends a request and discards the answer; a failed transfer writes one line
// "curl_easy_perform() failed: <reason>" through the diagnostics channel.
void HttpPing(const Text& url);

// The body of the answer, as it came (also an error page's); empty when nothing arrived.
std::string HttpGetText(const Text& url);

// Writes the body into `destination` and moves `progress` (may be null) from 0 to 100.
// True only when the transfer completed with a status below 400.
bool HttpDownloadFile(const Text& url, const Text& destination, platform::ui::ProgressWindow* progress);

}  // namespace orvanel
