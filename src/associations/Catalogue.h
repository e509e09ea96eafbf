// The extension catalogue: "extensions.txt" in the data folder, downloaded whole
// from the download site, one extension per line without its leading dot.
#pragma once

#include <functional>

#include "common/Text.h"

namespace orvanel {

// Hands each extension of the catalogue in `dataFolder` to `step`, in file order
// (a repeated line is handed on again). Bytes are widened one for one; lines end in
// LF or CR LF; empty lines and the header line "extensions" are skipped. The file
// comes over plain HTTP, so lines that cannot be an extension are skipped too: one
// longer than 259 bytes, and one holding a backslash (it would name another key)
// or a control character. False when the file cannot be opened; `step` is then
// never called.
bool ForEachCatalogueExtension(const Text& dataFolder,
                               const std::function<void(const Text& extension)>& step);

}  // namespace orvanel
