#include "printer_tool/PrinterLibrary.h"

#include "platform/Library.h"

namespace orvanel::printer {
namespace {

PrinterEntryPoint FindPrinterEntryPoint(platform::LibraryHandle library, const char* name) {
  return reinterpret_cast<PrinterEntryPoint>(platform::FindEntryPoint(library, name));
}

}  // namespace

std::optional<PrinterLibrary> BindPrinterLibrary() {
  const platform::LibraryHandle library = platform::LoadLibraryByName("DuvessaInstall.dll");
  if (!library) return std::nullopt;
  PrinterLibrary bound;
  bound.installPrinter = FindPrinterEntryPoint(library, "InstallPrinter");
  if (!bound.installPrinter) return std::nullopt;
  bound.removePrinter = FindPrinterEntryPoint(library, "RemovePrinter");
  bound.isInstalled = FindPrinterEntryPoint(library, "IsInstalled");
  return bound;
}

}  // namespace orvanel::printer
