#include "prompt/ShellActions.h"

#include "platform/System.h"
#include "platform/Ui.h"

namespace orvanel {

bool OpenUrl(const Text& address) { return platform::OpenUrlInBrowser(address); }

bool ShowOpenWithDialog(const Text& filePath) {
  return platform::ui::ShowApplicationChooser(filePath);
}

}  // namespace orvanel
