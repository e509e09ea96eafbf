// What the installer script asks of the printer setup tool.
#pragma once

namespace orvanel::printer {

enum class PrinterStep { Install, Uninstall, UnknownParameter };

// The count of arguments decides first: only a single argument is interpreted,
// compared byte for byte (case matters) with "install", then "uninstall". No
// argument, or two or more, means install.
PrinterStep ChooseStep(int argc, const char* const* argv);

}  // namespace orvanel::printer
