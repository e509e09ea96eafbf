// Handing a page or a file over to the desktop: the browser and the application chooser.
#pragma once

#include "common/Text.h"

namespace orvanel {

// Shows `address` in the user's browser; true when the start was accepted. Never waits.
bool OpenUrl(const Text& address);

// Lets the user pick installed software for the file, which is then started with it;
// true when the chooser was shown.
bool ShowOpenWithDialog(const Text& filePath);

}  // namespace orvanel
