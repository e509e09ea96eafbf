// Single HTTP GET transfers over libcurl's easy interface, each bounded in time and
// size by the TransferLimits. Only an answer with a 2xx status is the thing asked for;
// redirects are never followed.
#pragma once

#include <optional>
#include <string>

#include "common/Text.h"
#include "platform/Ui.h"

namespace orvanel {

// Sends a request and discards the answer; a failed transfer writes one line
// "curl_easy_perform() failed: <reason>" through the diagnostics channel.
void HttpPing(const Text& url);

// The whole body of a 2xx answer, byte for byte. Nothing for any other status, a
// transfer that broke off or ran out of time, or an answer over the size limit; each
// of those writes one line through the diagnostics channel.
std::optional<std::string> HttpGetText(const Text& url);

// Writes the body of a 2xx answer into `destination` and moves `progress` (may be
// null) from 0 to 100. True only when the whole answer arrived and was written; any
// other status writes nothing of its body. A failed transfer leaves in `destination`
// what had arrived; the caller throws it away.
bool HttpDownloadFile(const Text& url, const Text& destination, platform::ui::ProgressWindow* progress);

}  // namespace orvanel
