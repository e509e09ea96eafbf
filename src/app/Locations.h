// Where the program and its per-user files are, administrator rights, and the
// elevated relaunch.
#pragma once

#include "common/Text.h"

namespace orvanel {

// Full path of the running executable (at most 259 characters); empty on failure.
Text ModulePath();

// The per-user data folder: application data, "Orvanel", ending in the path separator.
Text DataFolderPath();

// True when the process has administrator rights; throws platform::SystemError
// (with the system's error code) when the test itself fails.
bool IsUserAdmin();

// Starts an elevated copy of Orvanel with `switchText` as its only argument; never waits.
void RelaunchElevated(const Text& switchText);

// The data folder path stored once at start-up, for the parts that read it later.
void SetProcessDataFolder(const Text& path);
const Text& ProcessDataFolder();

}  // namespace orvanel
