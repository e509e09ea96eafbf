#include "app/Locations.h"
#include "app/Modes.h"
#include "common/DataFiles.h"
#include "common/ProgramInfo.h"
#include "platform/Files.h"
#include "platform/System.h"
#include "platform/Ui.h"
#include "prompt/Prompt.h"
#include "resources/ResourceIds.h"
#include "updates/DownloadDialog.h"
#include "updates/InstallerSignature.h"
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

// Only an installer that arrived whole and that its signature shows to be ours is
// started. One that fails the check is thrown away and the user is told once.
void InstallNewerProgram(platform::InstanceHandle instance) {
  const Text installer = ProcessDataFolder() + kInstallerFileName;
  if (!RunDownloadDialog(DownloadSiteBase() + u"/installer.exe", kInstallerFileName)) return;
  if (IsInstallerSigned(installer, DownloadSiteBase() + u"/installer.exe.sig")) {
    platform::StartElevated(installer, Text());
    return;
  }
  platform::RemoveFile(installer);
  ui::ShowMessageBox(platform::LoadStringResource(instance, IDS_UPDATE_UNVERIFIED),
                     platform::LoadStringResource(instance, IDS_UPDATE_CAPTION),
                     ui::MessageButtons::Ok, ui::MessageIcon::Error);
}

// A newer Orvanel is offered first; only without one is the catalogue checked.
void OfferUpdate(platform::InstanceHandle instance) {
  if (SoftwareUpdateAvailable()) {
    if (UserWantsUpdate(instance)) InstallNewerProgram(instance);
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
