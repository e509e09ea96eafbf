// What the prompt knows about the file it was started for. Written once per run,
// before anything is shown, and only read afterwards.
#pragma once

#include "common/Text.h"
#include "platform/Resources.h"

namespace orvanel {

struct PromptState {
  platform::InstanceHandle instance = nullptr;  // where the texts come from
  Text filePath;                                // exactly as received
  Text fileName;                                // after the last path separator
  Text extension;   // after the last dot of the file name, A to Z lowered
  Text dataFolder;  // ends in the path separator; the ignore list lives there
};

// Fills the prompt state for `filePath`, splitting it at `separator`.
const PromptState& StorePromptState(platform::InstanceHandle instance, const Text& filePath,
                                    const Text& dataFolder, char16_t separator);

const PromptState& CurrentPromptState();

}  // namespace orvanel
