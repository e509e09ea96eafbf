#include "app/Locations.h"
#include "app/Modes.h"
#include "app/StoreOutcome.h"
#include "associations/Unregistration.h"

namespace orvanel {

int RunUninstall(Tracker& tracker) {
  if (!IsUserAdmin()) {
    RelaunchElevated(u"-r");
    return 0;
  }
  const bool unregistered = UnassociateAll(DataFolderPath());
  tracker.ReportUninstall();
  return WithStoreOutcome("uninstall", unregistered ? 0 : -1);
}

}  // namespace orvanel
