#include "prompt/Prompt.h"

#include "platform/System.h"
#include "platform/Ui.h"
#include "prompt/IgnoreList.h"
#include "prompt/OkAction.h"
#include "prompt/PromptTexts.h"
#include "prompt/ShellActions.h"

namespace orvanel {

void ShowPrompt(platform::InstanceHandle instance, const Text& filePath, const Text& dataFolder) {
  const PromptState& state =
      StorePromptState(instance, filePath, dataFolder, platform::PathSeparator());
  if (IsExtensionIgnored(state.extension)) {
    ShowOpenWithDialog(state.filePath);
    return;
  }
  // Closing the prompt, or running out of answers, does nothing.
  const platform::ui::PromptAnswer answer = platform::ui::RunPrompt(BuildPromptContent(state));
  if (answer.okPressed) RunOkAction(state, answer);
}

}  // namespace orvanel
