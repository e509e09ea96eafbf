// Message boxes: MessageBoxW without owner window.
#include "platform/Ui.h"
#include "platform/win32/WideText.h"

namespace orvanel::platform::ui {

MessageResult ShowMessageBox(const Text& text, const Text& caption, MessageButtons buttons,
                             MessageIcon icon) {
  const UINT type = (buttons == MessageButtons::YesNo ? MB_YESNO : MB_OK) |
                    (icon == MessageIcon::Error ? MB_ICONERROR : MB_ICONINFORMATION);
  const int answer = MessageBoxW(nullptr, win32::Wide(text), win32::Wide(caption), type);
  if (buttons == MessageButtons::Ok) return MessageResult::Ok;
  return answer == IDYES ? MessageResult::Yes : MessageResult::No;
}

}  // namespace orvanel::platform::ui
