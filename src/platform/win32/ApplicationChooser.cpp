// The system's Open With chooser, which rundll32.exe shows for the file.
#include <windows.h>

#include <shellapi.h>

#include "platform/Ui.h"
#include "platform/win32/WideText.h"

namespace orvanel::platform::ui {

bool ShowApplicationChooser(const Text& filePath) {
  // The path follows the entry point's name directly, unquoted, as the chooser expects.
  const Text parameters = u"shell32.dll,OpenAs_RunDLL " + filePath;
  const HINSTANCE result = ShellExecuteW(nullptr, nullptr, L"rundll32.exe", win32::Wide(parameters),
                                         nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace orvanel::platform::ui
