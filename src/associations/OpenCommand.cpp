#include "associations/OpenCommand.h"

namespace orvanel {

std::optional<Text> OpenCommand(const Text& modulePath) {
  Text command = u"\"" + modulePath + u"\" \"%1\"";
  if (command.size() > kMaxRegistrationText) return std::nullopt;
  return command;
}

}  // namespace orvanel
