#include "online/Tracker.h"

#include <cstdio>
#include <string>

#include "common/DataFiles.h"
#include "common/ProgramInfo.h"
#include "online/HttpTransfer.h"
#include "online/MachineId.h"
#include "platform/DataFolder.h"
#include "platform/Files.h"

namespace orvanel {
namespace {

// The whole data version file, its lines joined without their ends (a CR only
// counts as part of a line end right before an LF); empty when it cannot be opened.
std::string ReadJoinedLines(const Text& path) {
  std::FILE* file = platform::OpenFile(path, "rb");
  if (!file) return std::string();
  std::string joined;
  bool pendingCarriageReturn = false;
  // A failed read ends the text just as the end of the file does.
  for (int c; (c = std::fgetc(file)) != EOF;) {
    if (pendingCarriageReturn && c != '\n') joined.push_back('\r');
    pendingCarriageReturn = c == '\r';
    if (c != '\r' && c != '\n') joined.push_back(static_cast<char>(c));
  }
  if (pendingCarriageReturn) joined.push_back('\r');
  std::fclose(file);
  return joined;
}

}  // namespace

Tracker::Tracker() {
  trackingOff = IsTrackingOff() ? 1 : 0;
  // With tracking off nothing about the machine or its files is looked at.
  if (trackingOff) return;
  machineId = MachineId();
  installPart = u"&install=true";
  uninstallPart = u"&uninstall=true";
  analyticsBase = InfoSiteBase() + u"/analytics/analytics.php?ID=";
  dataFolder = DataFolderPath();
  dataPart = u"&data=" + Utf8ToWide(ReadJoinedLines(dataFolder + kDataVersionFileName));
  softwarePart = u"&software=" + ProgramVersionText();
  publisherPart = u"&pub=" + kPublisher;
}

void Tracker::ReportInstall() { Report(installPart); }

void Tracker::ReportUninstall() { Report(uninstallPart); }

void Tracker::Report(const Text& actionPart) {
  if (trackingOff) return;
  // Sent once; a failure is told through the diagnostics by the transfer and not retried.
  HttpPing(analyticsBase + machineId + actionPart + dataPart + softwarePart + publisherPart);
}

Text Tracker::IdQuery() const { return trackingOff ? Text() : u"?_id=" + machineId; }

}  // namespace orvanel
