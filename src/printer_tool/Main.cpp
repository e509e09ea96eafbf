// duvessa_printer: run by the product's installer script to add or remove the
// virtual PDF printer through the outside library. It writes nothing to the
// console; its exit code is its only answer.
#include "printer_tool/PrinterCommandLine.h"
#include "printer_tool/PrinterSteps.h"

int main(int argc, char** argv) {
  using namespace orvanel::printer;
  switch (ChooseStep(argc, argv)) {
    case PrinterStep::Install:
      return RunInstallStep();
    case PrinterStep::Uninstall:
      return RunUninstallStep();
    case PrinterStep::UnknownParameter:
      break;
  }
  return ReportUnknownParameter();
}
