#include "prompt/PromptState.h"

#include "prompt/FileNameParts.h"

namespace orvanel {
namespace {

PromptState& State() {
  static PromptState state;
  return state;
}

}  // namespace

const PromptState& StorePromptState(platform::InstanceHandle instance, const Text& filePath,
                                    const Text& dataFolder, char16_t separator) {
  PromptState& state = State();
  state.instance = instance;
  state.filePath = filePath;
  state.dataFolder = dataFolder;
  state.fileName = FileNameOf(filePath, separator);
  state.extension = ExtensionOf(state.fileName);
  return state;
}

const PromptState& CurrentPromptState() { return State(); }

}  // namespace orvanel
