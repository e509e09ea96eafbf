// Natively the windows are shown by the frontend that the selector chose.
#include "platform/Ui.h"

#include "platform/posix/FrontendSelector.h"

namespace orvanel::platform::ui {

MessageResult ShowMessageBox(const Text& text, const Text& caption, MessageButtons buttons,
                             MessageIcon icon) {
  return posix::ActiveFrontend().ShowMessageBox(text, caption, buttons, icon);
}

PromptAnswer RunPrompt(const PromptContent& content) {
  return posix::ActiveFrontend().RunPrompt(content);
}

void RunProgressWindow(const Text& caption, const std::function<void(ProgressWindow&)>& started) {
  posix::ActiveFrontend().RunProgressWindow(caption, started);
}

bool ShowApplicationChooser(const Text& filePath) {
  return posix::ActiveFrontend().ShowApplicationChooser(filePath);
}

}  // namespace orvanel::platform::ui
