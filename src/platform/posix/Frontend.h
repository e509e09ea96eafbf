// A native frontend: what shows Orvanel's message boxes, the open-file prompt, the
// download progress and the application chooser (the terminal, or desktop windows).
// The selector picks one per run; the platform::ui calls go to it.
#pragma once

#include <functional>

#include "platform/Ui.h"

namespace orvanel::platform {

class Frontend {
 public:
  virtual ~Frontend() = default;
  virtual ui::MessageResult ShowMessageBox(const Text& text, const Text& caption,
                                           ui::MessageButtons buttons, ui::MessageIcon icon) = 0;
  virtual ui::PromptAnswer RunPrompt(const ui::PromptContent& content) = 0;
  virtual void RunProgressWindow(const Text& caption,
                                 const std::function<void(ui::ProgressWindow&)>& started) = 0;
  virtual bool ShowApplicationChooser(const Text& filePath) = 0;
};

// A frontend whose four windows are free functions (as each frontend's folder has them).
template <auto showMessageBox, auto runPrompt, auto runProgressWindow, auto showChooser>
class FrontendOfFunctions final : public Frontend {
 public:
  ui::MessageResult ShowMessageBox(const Text& text, const Text& caption,
                                   ui::MessageButtons buttons, ui::MessageIcon icon) override {
    return showMessageBox(text, caption, buttons, icon);
  }
  ui::PromptAnswer RunPrompt(const ui::PromptContent& content) override {
    return runPrompt(content);
  }
  void RunProgressWindow(const Text& caption,
                         const std::function<void(ui::ProgressWindow&)>& started) override {
    runProgressWindow(caption, started);
  }
  bool ShowApplicationChooser(const Text& filePath) override { return showChooser(filePath); }
};

}  // namespace orvanel::platform
