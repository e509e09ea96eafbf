// The desktop frontend: GTK 3 windows for the message boxes, the open-file prompt,
// the download progress and the application chooser. All of them run on the thread
// that opened GTK (the process's main thread); only the progress window is reached
// from other threads, through ProgressWindow.
#pragma once

#include <functional>

#include "platform/Ui.h"

namespace orvanel::platform {
class Frontend;
}

namespace orvanel::platform::gtk {

// GtkMessageDialog: the caption as title, Enter presses the default button, closing a
// Yes/No box answers No.
ui::MessageResult ShowMessageBox(const Text& text, const Text& caption, ui::MessageButtons buttons,
                                 ui::MessageIcon icon);

// The prompt laid out from its dialog template. Enter presses OK, Escape does nothing,
// closing the window ends it without OK.
ui::PromptAnswer RunPrompt(const ui::PromptContent& content);

// A centred window with one bar, which only ProgressWindow::Close ends.
void RunProgressWindow(const Text& caption,
                       const std::function<void(ui::ProgressWindow&)>& started);

// GTK's application chooser for the file's content type; the application chosen is
// started with the file.
bool ShowApplicationChooser(const Text& filePath);

// The desktop frontend when GTK can open its display; otherwise nullptr, after one
// diagnostics line saying why. GTK is opened on the first call only.
Frontend* OpenGtkFrontend();

}  // namespace orvanel::platform::gtk
