#include "app/Locations.h"

#include "platform/System.h"

namespace orvanel {
namespace {

constexpr size_t kMaxPath = 260;

Text& StoredDataFolder() {
  static Text path;
  return path;
}

}  // namespace

Text ModulePath() {
  Text path = platform::ExecutablePath();
  // The system fills a buffer of MAX_PATH characters, the last for the null.
  if (path.size() >= kMaxPath) path.resize(kMaxPath - 1);
  return path;
}

Text DataFolderPath() {
  const char16_t separator = platform::PathSeparator();
  return platform::ApplicationDataFolder() + separator + u"Orvanel" + separator;
}

bool IsUserAdmin() { return platform::IsAdministrator(); }

void RelaunchElevated(const Text& switchText) { platform::StartElevated(ModulePath(), switchText); }

void SetProcessDataFolder(const Text& path) { StoredDataFolder() = path; }

const Text& ProcessDataFolder() { return StoredDataFolder(); }

}  // namespace orvanel
