// The texts of the prompt, taken from the string table and filled in for one file.
#pragma once

#include "common/Text.h"
#include "platform/Ui.h"
#include "prompt/PromptState.h"

namespace orvanel {

// `label` with its first "%EXT%" replaced by `extension`; unchanged without one.
Text FillExtension(const Text& label, const Text& extension);

platform::ui::PromptContent BuildPromptContent(const PromptState& state);

}  // namespace orvanel
