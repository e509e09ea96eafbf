// The binding of the outside printer library "DuvessaInstall.dll".
#pragma once

#include <cstdint>
#include <optional>

namespace orvanel::printer {

// Each entry point takes one 32-bit argument (the tool always passes 0) and
// returns a 32-bit value.
using PrinterEntryPoint = int32_t (*)(int32_t);

struct PrinterLibrary {
  PrinterEntryPoint installPrinter = nullptr;  // never null once bound
  PrinterEntryPoint removePrinter = nullptr;   // null when the library lacks it
  PrinterEntryPoint isInstalled = nullptr;     // null when the library lacks it
};

// Loads the library by its bare file name and looks up "InstallPrinter",
// "RemovePrinter" and "IsInstalled", in that order. Nothing when the library
// cannot be loaded or does not export InstallPrinter. The library stays loaded
// until the process ends.
std::optional<PrinterLibrary> BindPrinterLibrary();

}  // namespace orvanel::printer
