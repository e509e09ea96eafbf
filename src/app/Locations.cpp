#include "app/Locations.h"

#include "common/MaxPath.h"
#include "platform/System.h"

namespace orvanel {
Text ModulePath() {
  Text path = platform::ExecutablePath();
  // The system fills a buffer of MAX_PATH characters, the last for the null.
  if (path.size() > kMaxPathCharacters) path.resize(kMaxPathCharacters);
  return path;
}

bool IsUserAdmin() { return platform::IsAdministrator(); }

void RelaunchElevated(const Text& switchText) { platform::StartElevated(ModulePath(), switchText); }

}  // namespace orvanel
