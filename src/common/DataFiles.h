// The files of the data folder, appended to its path (which ends in a separator).
#pragma once

#include "common/Text.h"

namespace orvanel {

inline const Text kCatalogueFileName = u"extensions.txt";
inline const Text kIgnoreListFileName = u"ignore.txt";
inline const Text kDataVersionFileName = u"data_version.txt";
inline const Text kInstallerFileName = u"installer.exe";
// Where a download lands before it replaces its target.
inline const Text kTemporaryFileName = u"tmp_file";

}  // namespace orvanel
