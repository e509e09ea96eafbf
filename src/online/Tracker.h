// Reports installs and uninstalls to the analytics endpoint unless tracking is off,
// and supplies the identifier query of info-site links.
#pragma once

#include <cstdint>

#include "common/Text.h"

namespace orvanel {

// True when value "private" of the Orvanel class key reads as the number 1.
bool IsTrackingOff();

class Tracker {
 public:
  Tracker();
  void ReportInstall();
  void ReportUninstall();
  Text IdQuery() const;  // "?_id=" and the machine identifier; empty with tracking off

 private:
  void Report(const Text& actionPart);

  Text machineId;
  int32_t trackingOff = 0;
  Text installPart;
  Text uninstallPart;
  Text dataPart;
  Text softwarePart;
  Text dataFolder;
  Text publisherPart;
  Text analyticsBase;
};

}  // namespace orvanel
