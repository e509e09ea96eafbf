#include "platform/terminal/TerminalFrontend.h"

#include "platform/posix/Frontend.h"

namespace orvanel::platform::terminal {
namespace {

class Terminal final : public Frontend {
 public:
  ui::MessageResult ShowMessageBox(const Text& text, const Text& caption,
                                   ui::MessageButtons buttons, ui::MessageIcon icon) override {
    return terminal::ShowMessageBox(text, caption, buttons, icon);
  }
  ui::PromptAnswer RunPrompt(const ui::PromptContent& content) override {
    return terminal::RunPrompt(content);
  }
  void RunProgressWindow(const Text& caption,
                         const std::function<void(ui::ProgressWindow&)>& started) override {
    terminal::RunProgressWindow(caption, started);
  }
  bool ShowApplicationChooser(const Text& filePath) override {
    return terminal::ShowApplicationChooser(filePath);
  }
};

}  // namespace

Frontend& TerminalFrontend() {
  static Terminal terminal;
  return terminal;
}

}  // namespace orvanel::platform::terminal
