// What install writes: the all-files verb, the file class with its Applications
// entry, and the catalogue extensions. Each operation's writes are saved together,
// so a catalogue of many thousand lines costs one disk sync, not one per write.
#include <optional>

#include "associations/Associator.h"
#include "associations/Catalogue.h"
#include "associations/DefaultValue.h"
#include "associations/OpenCommand.h"
#include "associations/RegistryLayout.h"
#include "platform/Registry.h"
#include "resources/ResourceIds.h"

namespace orvanel {
namespace {

namespace registry = platform::registry;
using registry::Status;

// Creates (or opens) the key and sets its default value to `text`.
bool WriteDefault(const Text& path, const Text& text) {
  registry::Key key;
  if (registry::CreateKey(path, key) != Status::Ok) return false;
  return registry::SetTextValue(key, layout::kDefaultValue, text) == Status::Ok;
}

// Points the extension at the class unless it already names something; true when
// every write that was needed succeeded. `key` is left open on the extension's key
// when it could be opened or created.
bool TakeOverIfUnassociated(const Text& extensionKey, registry::Key& key) {
  const Text className = layout::kClassName;
  if (registry::OpenKey(extensionKey, registry::Access::ReadWrite, key) != Status::Ok) {
    if (registry::CreateKey(extensionKey, key) != Status::Ok) return false;
    return registry::SetTextValue(key, layout::kDefaultValue, className) == Status::Ok;
  }
  const DefaultValue value = ReadDefaultValue(key);
  switch (value.kind) {
    case DefaultValue::Kind::Absent:
      break;
    case DefaultValue::Kind::Text:
      if (!value.text.empty()) return true;
      break;
    case DefaultValue::Kind::TooLong:
    case DefaultValue::Kind::NotText:
      return true;
    case DefaultValue::Kind::Unreadable:
      return false;
  }
  return registry::SetTextValue(key, layout::kDefaultValue, className) == Status::Ok;
}

// Lists the class among the extension's "Open with" programs; below the extension's
// key when it is open, which spares looking it up again.
bool AddToOpenWithProgids(const Text& extensionKey, const registry::Key& extension) {
  registry::Key key;
  const Status created = extension.IsOpen()
                             ? registry::CreateKey(extension, layout::kOpenWithProgidsName, key)
                             : registry::CreateKey(extensionKey + layout::kOpenWithProgids, key);
  if (created != Status::Ok) return false;
  return registry::SetTextValue(key, layout::kClassName, Text()) == Status::Ok;
}

}  // namespace

bool Associator::AddOpenWithVerb() {
  if (modulePath.empty()) return false;
  const std::optional<Text> command = OpenCommand(modulePath);
  if (!command) return false;

  Text verbName = platform::LoadStringResource(instanceHandle, IDS_OPEN_WITH_VERB);
  if (verbName.size() > kMaxRegistrationText) verbName.resize(kMaxRegistrationText);

  const Text verbKey = layout::kAllFilesShell + verbName;
  registry::WriteGroup group;
  if (!WriteDefault(verbKey, verbName)) return false;
  return WriteDefault(verbKey + layout::kCommand, *command);
}

bool Associator::RegisterProgId() {
  const std::optional<Text> command = OpenCommand(modulePath);
  if (!command) return false;

  const Text className = layout::kClassName;
  registry::WriteGroup group;
  if (!WriteDefault(className, className)) return false;
  if (!WriteDefault(layout::kApplications + className + layout::kShellOpenCommand, *command)) {
    return false;
  }
  if (!WriteDefault(className + layout::kDefaultIcon, layout::kIcon)) return false;

  registry::Key openCommand;
  if (registry::CreateKey(className + layout::kShellOpenCommand, openCommand) != Status::Ok) {
    return false;
  }
  // The outcome of this last write is not consulted.
  registry::SetTextValue(openCommand, layout::kDefaultValue, *command);
  return true;
}

bool Associator::AssociateCatalogue() {
  bool failed = false;
  registry::WriteGroup group;
  const bool read = ForEachCatalogueExtension(dataFolder, [&](const Text& extension) {
    if (IsExcluded(extension)) return;
    const Text extensionKey = u"." + extension;
    registry::Key key;
    if (!TakeOverIfUnassociated(extensionKey, key)) failed = true;
    if (!AddToOpenWithProgids(extensionKey, key)) failed = true;
  });
  return read && !failed;
}

}  // namespace orvanel
