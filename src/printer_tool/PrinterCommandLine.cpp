#include "printer_tool/PrinterCommandLine.h"

#include <cstring>

namespace orvanel::printer {

PrinterStep ChooseStep(int argc, const char* const* argv) {
  if (argc != 2 || !argv || !argv[1]) return PrinterStep::Install;
  if (std::strcmp(argv[1], "install") == 0) return PrinterStep::Install;
  if (std::strcmp(argv[1], "uninstall") == 0) return PrinterStep::Uninstall;
  return PrinterStep::UnknownParameter;
}

}  // namespace orvanel::printer
