// The download progress: dialog 103 of the program's resources, run modally. The
// worker reaches it only through messages sent synchronously, so every change to
// the window happens on the dialog's own thread.
#include <windows.h>

#include <commctrl.h>

#include "platform/Resources.h"
#include "platform/Ui.h"
#include "platform/win32/WideText.h"
#include "resources/ResourceIds.h"

namespace orvanel::platform::ui {
namespace {

class DialogProgressWindow : public ProgressWindow {
 public:
  void Attach(HWND dialog) { dialog_ = dialog; }
  void SetPosition(int position) override {
    SendMessageW(GetDlgItem(dialog_, IDC_UPDATE_PROGRESS), PBM_SETPOS, position, 0);
  }
  void Close() override { SendMessageW(dialog_, WM_CLOSE, 0, 0); }

 private:
  HWND dialog_ = nullptr;
};

// The download of this run: written before the dialog exists, read by its procedure.
struct ProgressRun {
  const Text* caption = nullptr;
  const std::function<void(ProgressWindow&)>* started = nullptr;
  DialogProgressWindow window;
};

ProgressRun& CurrentProgress() {
  static ProgressRun run;
  return run;
}

INT_PTR CALLBACK ProgressProcedure(HWND dialog, UINT message, WPARAM, LPARAM) {
  ProgressRun& run = CurrentProgress();
  switch (message) {
    case WM_INITDIALOG:
      run.window.Attach(dialog);
      SetWindowTextW(dialog, win32::Wide(*run.caption));
      (*run.started)(run.window);
      return TRUE;  // the system sets the default focus
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return FALSE;
    default:
      // IDCANCEL from Escape included: the user cannot end the download.
      return FALSE;
  }
}

}  // namespace

void RunProgressWindow(const Text& caption, const std::function<void(ProgressWindow&)>& started) {
  ProgressRun& run = CurrentProgress();
  run.caption = &caption;
  run.started = &started;
  InitCommonControls();
  DialogBoxParamW(static_cast<HINSTANCE>(ProgramInstance()), MAKEINTRESOURCEW(IDD_UPDATE), nullptr,
                  ProgressProcedure, 0);
  run.window.Attach(nullptr);
}

}  // namespace orvanel::platform::ui
