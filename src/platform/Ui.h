// What Orvanel shows: message boxes, the open-file prompt, the download progress
// and the application chooser. The frontend (a desktop window or the terminal) is
// chosen by the backend; the core only says what to show.
#pragma once

#include <functional>

#include "common/Text.h"

namespace orvanel::platform::ui {

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { Information, Error };
enum class MessageResult { Ok, Yes, No };

// A modal message box without owner window.
MessageResult ShowMessageBox(const Text& text, const Text& caption, MessageButtons buttons,
                             MessageIcon icon);

// The texts of the open-file prompt, as they are to be shown.
struct PromptContent {
  Text caption;
  Text intro;
  Text fileLabel;
  Text fileName;
  Text question;
  Text choices[3];  // search, read about, open with
  Text dontShowAgain;
  Text ok;
};

// How the prompt ended. Without OK (closed, or no more input) nothing is to be done.
struct PromptAnswer {
  bool okPressed = false;
  int choice = 1;               // 1 to 3: the selected choice; the first one at start
  bool dontShowAgain = false;   // the box, unticked at start
};

// Runs the prompt modally until OK or close. Escape does nothing.
PromptAnswer RunPrompt(const PromptContent& content);

// The progress window of a running download. Both calls may come from any thread
// and return only once the window's own thread has handled them.
class ProgressWindow {
 public:
  virtual ~ProgressWindow() = default;
  virtual void SetPosition(int position) = 0;  // 0 to 100
  virtual void Close() = 0;
};

// Shows the progress window modally. `started` runs on the calling thread once the
// window exists; the window ends only through ProgressWindow::Close (Escape and the
// window manager's close are ignored), and this function then returns.
void RunProgressWindow(const Text& caption, const std::function<void(ProgressWindow&)>& started);

// Lets the user choose an installed application for the file and starts it with the
// file; true when the chooser was shown.
bool ShowApplicationChooser(const Text& filePath);

}  // namespace orvanel::platform::ui
