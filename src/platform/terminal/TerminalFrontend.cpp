#include "platform/terminal/TerminalFrontend.h"

#include "platform/posix/Frontend.h"

namespace orvanel::platform::terminal {

Frontend& TerminalFrontend() {
  static FrontendOfFunctions<&ShowMessageBox, &RunPrompt, &RunProgressWindow,
                             &ShowApplicationChooser>
      terminal;
  return terminal;
}

}  // namespace orvanel::platform::terminal
