// The open-file prompt: dialog 101 of the program's resources, run modally. OK
// reads the choices and closes the dialog through WM_CLOSE; the close button ends
// it without an answer; Escape (IDCANCEL) is ignored and leaves it open.
#include <windows.h>

#include <commctrl.h>

#include "platform/Resources.h"
#include "platform/Ui.h"
#include "platform/win32/WideText.h"
#include "resources/ResourceIds.h"

namespace orvanel::platform::ui {
namespace {

using win32::Wide;

// The prompt of this run: written before the dialog exists, read by its procedure.
struct PromptRun {
  const PromptContent* content = nullptr;
  PromptAnswer answer;
};

PromptRun& CurrentPrompt() {
  static PromptRun run;
  return run;
}

void ShowTexts(HWND dialog, const PromptContent& content) {
  SetWindowTextW(dialog, Wide(content.caption));
  SetDlgItemTextW(dialog, IDC_PROMPT_INTRO, Wide(content.intro));
  SetDlgItemTextW(dialog, IDC_PROMPT_FILE_LABEL, Wide(content.fileLabel));
  SetDlgItemTextW(dialog, IDC_PROMPT_FILE_NAME, Wide(content.fileName));
  SetDlgItemTextW(dialog, IDC_PROMPT_QUESTION, Wide(content.question));
  SetDlgItemTextW(dialog, IDC_PROMPT_SEARCH, Wide(content.choices[0]));
  SetDlgItemTextW(dialog, IDC_PROMPT_READ_ABOUT, Wide(content.choices[1]));
  SetDlgItemTextW(dialog, IDC_PROMPT_OPEN_WITH, Wide(content.choices[2]));
  SetDlgItemTextW(dialog, IDC_PROMPT_DONT_SHOW, Wide(content.dontShowAgain));
  SetDlgItemTextW(dialog, IDOK, Wide(content.ok));
  CheckDlgButton(dialog, IDC_PROMPT_SEARCH, BST_CHECKED);
}

PromptAnswer ReadAnswer(HWND dialog) {
  PromptAnswer answer;
  answer.okPressed = true;
  answer.dontShowAgain = IsDlgButtonChecked(dialog, IDC_PROMPT_DONT_SHOW) == BST_CHECKED;
  const int choices[] = {IDC_PROMPT_SEARCH, IDC_PROMPT_READ_ABOUT, IDC_PROMPT_OPEN_WITH};
  for (int i = 0; i < 3; ++i) {
    if (IsDlgButtonChecked(dialog, choices[i]) == BST_CHECKED) {
      answer.choice = i + 1;
      break;
    }
  }
  return answer;
}

INT_PTR CALLBACK PromptProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      ShowTexts(dialog, *CurrentPrompt().content);
      return FALSE;  // no initial keyboard focus
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) != IDOK) return FALSE;
      CurrentPrompt().answer = ReadAnswer(dialog);
      SendMessageW(dialog, WM_CLOSE, 0, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

PromptAnswer RunPrompt(const PromptContent& content) {
  PromptRun& run = CurrentPrompt();
  run.content = &content;
  run.answer = PromptAnswer{};
  InitCommonControls();
  DialogBoxParamW(static_cast<HINSTANCE>(ProgramInstance()), MAKEINTRESOURCEW(IDD_PROMPT), nullptr,
                  PromptProcedure, 0);
  run.content = nullptr;
  return run.answer;
}

}  // namespace orvanel::platform::ui
