#include "app/Locations.h"
#include "app/Modes.h"
#include "platform/Registry.h"
#include "platform/Ui.h"

namespace orvanel {
namespace {

namespace registry = platform::registry;
namespace ui = platform::ui;

// The flag lives in the class key that registration writes; it is never created here.
bool WriteTrackingFlag(bool turnTrackingOff) {
  registry::Key key;
  if (registry::OpenKey(u"Orvanel", registry::Access::Write, key) != registry::Status::Ok)
    return false;
  return registry::SetTextValue(key, u"private", turnTrackingOff ? u"1" : u"0") ==
         registry::Status::Ok;
}

}  // namespace

int RunTrackingSwitch(const Text& switchText, bool turnTrackingOff) {
  if (!IsUserAdmin()) {
    RelaunchElevated(switchText);
    return 0;
  }
  const bool written = WriteTrackingFlag(turnTrackingOff);
  const Text text = written ? (turnTrackingOff ? u"Tracking has been turned off"
                                               : u"Tracking has been turned on")
                            : (turnTrackingOff ? u"Error while turning tracking off"
                                               : u"Failed to turn on tracking.\n\nWas it turned off?");
  ui::ShowMessageBox(text, u"Orvanel", ui::MessageButtons::Ok,
                     written ? ui::MessageIcon::Information : ui::MessageIcon::Error);
  return written ? 0 : -1;
}

}  // namespace orvanel
