#include "updates/VersionChecks.h"

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "common/DataFiles.h"
#include "common/ProgramInfo.h"
#include "online/HttpTransfer.h"
#include "platform/DataFolder.h"
#include "platform/Files.h"
#include "updates/VersionFormats.h"

namespace orvanel {
namespace {

int32_t& RememberedRemoteDataVersion() {
  static int32_t version = 0;
  return version;
}

Text LocalDataVersionPath() { return ProcessDataFolder() + kDataVersionFileName; }

}  // namespace

bool CatalogueUpdateAvailable() {
  // No answer says nothing about the site's catalogue: nothing newer, nothing remembered.
  const std::optional<std::string> answer = HttpGetText(DownloadSiteBase() + u"/data_version.txt");
  if (!answer) return false;
  const int32_t remote = ParseDataVersion(*answer);
  RememberedRemoteDataVersion() = remote;
  return ReadLocalDataVersion(LocalDataVersionPath()) < remote;
}

bool SoftwareUpdateAvailable() {
  const std::optional<std::string> answer =
      HttpGetText(DownloadSiteBase() + u"/software_version.txt");
  if (!answer) return false;
  const SoftwareVersion site = ParseSoftwareVersion(*answer);
  return site.major > kVersionMajor ||
         (site.major == kVersionMajor && site.minor > kVersionMinor);
}

bool SaveDataVersion() {
  const Text path = LocalDataVersionPath();
  std::FILE* file = platform::OpenFile(path, "wb");
  if (!file) return false;
  const std::string digits = std::to_string(RememberedRemoteDataVersion());
  const bool written = std::fwrite(digits.data(), 1, digits.size(), file) == digits.size();
  const bool closed = std::fclose(file) == 0;
  if (written && closed) return true;
  platform::RemoveFile(path);
  return false;
}

}  // namespace orvanel
