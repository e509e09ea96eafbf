#include "app/Locations.h"
#include "app/Modes.h"
#include "app/StoreOutcome.h"
#include "associations/Associator.h"
#include "common/DataFiles.h"
#include "common/ProgramInfo.h"
#include "platform/System.h"
#include "updates/DownloadDialog.h"
#include "updates/VersionChecks.h"

namespace orvanel {
namespace {

// A newer catalogue replaces the local one before registration reads it; the new
// data version is recorded only when the catalogue really arrived.
void RefreshCatalogue() {
  if (!CatalogueUpdateAvailable()) return;
  if (RunDownloadDialog(DownloadSiteBase() + u"/extensions.txt", kCatalogueFileName))
    SaveDataVersion();
}

}  // namespace

int RunInstall(platform::InstanceHandle& instance, Tracker& tracker) {
  if (!IsUserAdmin()) {
    RelaunchElevated(u"-i");
    return 0;
  }
  platform::EnsureFolder(ProcessDataFolder());
  Associator associator(ModulePath(), instance, DataFolderPath());
  RefreshCatalogue();

  const bool registered = associator.AddOpenWithVerb() && associator.RegisterProgId();
  if (registered) associator.AssociateCatalogue();

  tracker.ReportInstall();
  return WithStoreOutcome("install", registered ? 0 : -1);
}

}  // namespace orvanel
