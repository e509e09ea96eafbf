#include "platform/DataFolder.h"

#include "platform/System.h"

namespace orvanel {
namespace {

Text& StoredDataFolder() {
  static Text path;
  return path;
}

}  // namespace

Text DataFolderPath() {
  const char16_t separator = platform::PathSeparator();
  return platform::ApplicationDataFolder() + separator + u"Orvanel" + separator;
}

void SetProcessDataFolder(const Text& path) { StoredDataFolder() = path; }

const Text& ProcessDataFolder() { return StoredDataFolder(); }

}  // namespace orvanel
