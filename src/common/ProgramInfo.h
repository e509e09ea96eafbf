// Facts about this build of Orvanel that requests and pages carry.
#pragma once

#include "common/Text.h"

namespace orvanel {

constexpr int kVersionMajor = 0;
constexpr int kVersionMinor = 2;

// "0.2": the program version as reported to the analytics endpoint.
Text ProgramVersionText();

// The publisher word: analytics key "pub" and a path segment of info-site pages.
inline const Text kPublisher = u"tovix";

// Base URLs without trailing slash. Built-in defaults; ORVANEL_INFO_SITE and
// ORVANEL_DOWNLOAD_SITE override them for tests, staging and the demo site.
Text InfoSiteBase();
Text DownloadSiteBase();

}  // namespace orvanel
