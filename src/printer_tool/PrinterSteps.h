// The two steps of the printer setup tool and the answer to an unknown argument,
// each giving the exit code for the installer script.
#pragma once

namespace orvanel::printer {

constexpr int kExitStepRan = 0;
constexpr int kExitBindingFailed = 1;  // library not loadable, or an entry point missing

// Asks IsInstalled(0); a nonzero answer is followed by InstallPrinter(0).
int RunInstallStep();

// Calls RemovePrinter(0) only.
int RunUninstallStep();

// Tells the user that the installer script passed an argument the tool does not know.
int ReportUnknownParameter();

}  // namespace orvanel::printer
