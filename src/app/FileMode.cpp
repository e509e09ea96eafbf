#include "app/Locations.h"
#include "app/Modes.h"
#include "common/DataFiles.h"
#include "common/ProgramInfo.h"
#include "platform/System.h"
#include "platform/Ui.h"
#include "prompt/Prompt.h"
#include "resources/ResourceIds.h"
#include "updates/DownloadDialog.h"
#include "updates/VersionChecks.h"

namespace orvanel {
namespace {

namespace ui = platform::ui;

bool UserWantsUpdate(platform::InstanceHandle instance) {
  const Text caption = platform::LoadStringResource(instance, IDS_UPDATE_CAPTION);
  const Text question = platform::LoadStringResource(instance, IDS_UPDATE_QUESTION);
  return ui::ShowMessageBox(question, caption, ui::MessageButtons::YesNo,
                            ui::MessageIcon::Information) == ui::MessageResult::Yes;
}

// A newer Orvanel is offered first; only without one is the catalogue checked.
void OfferUpdate(platform::InstanceHandle instance) {
  if (SoftwareUpdateAvailable()) {
    if (!UserWantsUpdate(instance)) return;
    // Only an installer that arrived whole is started.
    if (RunDownloadDialog(DownloadSiteBase() + u"/installer.exe", kInstallerFileName))
      platform::StartElevated(ProcessDataFolder() + kInstallerFileName, Text());
  } else if (CatalogueUpdateAvailable()) {
    if (UserWantsUpdate(instance)) RelaunchElevated(u"-i");
  }
}

}  // namespace

int RunFileMode(platform::InstanceHandle instance, const Text& filePath) {
  platform::EnsureFolder(ProcessDataFolder());
  ShowPrompt(instance, filePath, ProcessDataFolder());
  OfferUpdate(instance);
  return 0;
}

}  // namespace orvanel
