// The open-file prompt: what Orvanel shows for a file that nothing else opens.
#pragma once

#include "common/Text.h"
#include "platform/Resources.h"

namespace orvanel {

// Offers to search the web for software for the file's type, to read about the type,
// or to open the file with installed software; for an ignored extension it goes
// straight to the application chooser. Returns when the prompt is over.
void ShowPrompt(platform::InstanceHandle instance, const Text& filePath, const Text& dataFolder);

}  // namespace orvanel
