// The terminal frontend: questions and messages on standard error, answers as lines
// of standard input. Used without a display, and by the process-level tests.
#pragma once

#include <functional>

#include "platform/Ui.h"

namespace orvanel::platform {
class Frontend;
}

namespace orvanel::platform::terminal {

// One line "CAPTION: TEXT"; Yes/No adds " [y/N] " and reads one line.
ui::MessageResult ShowMessageBox(const Text& text, const Text& caption, ui::MessageButtons buttons,
                                 ui::MessageIcon icon);

// The texts, the numbered choices, and one answer line.
ui::PromptAnswer RunPrompt(const ui::PromptContent& content);

// The caption, then a bar on a terminal or one line per ten percent otherwise.
void RunProgressWindow(const Text& caption,
                       const std::function<void(ui::ProgressWindow&)>& started);

// A numbered list of the installed applications for the file's type.
bool ShowApplicationChooser(const Text& filePath);

// These four as a frontend for the selector.
Frontend& TerminalFrontend();

}  // namespace orvanel::platform::terminal
