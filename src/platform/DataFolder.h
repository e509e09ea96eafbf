// Where Orvanel keeps its per-user files: the data folder, built over the seam from
// the user's application-data folder, and the copy of it stored once per run for
// the parts that read it later.
#pragma once

#include "common/Text.h"

namespace orvanel {

// The per-user data folder: application data, "Orvanel", ending in the path separator.
Text DataFolderPath();

// The data folder path stored once at start-up, for the parts that read it later.
void SetProcessDataFolder(const Text& path);
const Text& ProcessDataFolder();

}  // namespace orvanel
