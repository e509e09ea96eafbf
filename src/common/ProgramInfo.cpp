#include "common/ProgramInfo.h"

#include <cstdio>
#include <cstdlib>

namespace orvanel {
namespace {

Text SiteFromEnvironment(const char* variable, const char* builtIn) {
  const char* value = std::getenv(variable);
  return Utf8ToWide(value && *value ? value : builtIn);
}

}  // namespace

Text ProgramVersionText() {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%d.%d", kVersionMajor, kVersionMinor);
  return AsciiText(buffer);
}

Text InfoSiteBase() { return SiteFromEnvironment("ORVANEL_INFO_SITE", "http://info.orvanel.example"); }

Text DownloadSiteBase() {
  return SiteFromEnvironment("ORVANEL_DOWNLOAD_SITE", "http://download.orvanel.example");
}

}  // namespace orvanel
