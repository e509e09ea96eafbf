#include "printer_tool/PrinterSteps.h"

#include "common/Text.h"
#include "platform/Ui.h"
#include "printer_tool/PrinterLibrary.h"

namespace orvanel::printer {

// The results of InstallPrinter and RemovePrinter are not examined: a printer
// operation that fails inside the library still ends the step with success.

int RunInstallStep() {
  const auto library = BindPrinterLibrary();
  if (!library || !library->isInstalled) return kExitBindingFailed;
  if (library->isInstalled(0) != 0) library->installPrinter(0);
  return kExitStepRan;
}

int RunUninstallStep() {
  const auto library = BindPrinterLibrary();
  if (!library || !library->removePrinter) return kExitBindingFailed;
  library->removePrinter(0);
  return kExitStepRan;
}

int ReportUnknownParameter() {
  platform::ui::ShowMessageBox(
      AsciiText("Unknown parameter passed to installer. Check NSIS script correctness."),
      AsciiText("Duvessa"), platform::ui::MessageButtons::Ok, platform::ui::MessageIcon::Error);
  return kExitStepRan;
}

}  // namespace orvanel::printer
