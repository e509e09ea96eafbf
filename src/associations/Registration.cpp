// What install writes: the all-files verb, the file class with its Applications
// entry, and the catalogue extensions. Each operation's writes are saved together,
// so a catalogue of many thousand lines costs one disk sync, not one per write.
#include <optional>

#include "associations/Associator.h"
#include "associations/Catalogue.h"
#include "associations/DefaultValue.h"
#include "associations/OpenCommand.h"
#include "associations/RegistryLayout.h"
#include "associations/StoreFailures.h"
#include "platform/Registry.h"
#include "resources/ResourceIds.h"

namespace orvanel {
namespace {

namespace registry = platform::registry;
using registry::Status;

// Every write's outcome is noted, so that a store that cannot be written or
// cannot save fails the whole operation.
bool Succeeded(Status status) { return NoteStoreStatus(status) == Status::Ok; }

bool SetDefault(const registry::Key& key, const Text& text) {
  return Succeeded(registry::SetTextValue(key, layout::kDefaultValue, text));
}

// Creates (or opens) the key and sets its default value to `text`.
bool WriteDefault(const Text& path, const Text& text) {
  registry::Key key;
  if (!Succeeded(registry::CreateKey(path, key))) return false;
  return SetDefault(key, text);
}

// Saves the operation's writes; false when they are lost.
bool Saved(registry::WriteGroup& group) { return Succeeded(group.Close()); }

// Points the extension at the class unless it already names something; true when
// every write that was needed succeeded. `key` is left open on the extension's key
// when it could be opened or created.
bool TakeOverIfUnassociated(const Text& extensionKey, registry::Key& key) {
  const Text className = layout::kClassName;
  if (registry::OpenKey(extensionKey, registry::Access::ReadWrite, key) != Status::Ok) {
    if (!Succeeded(registry::CreateKey(extensionKey, key))) return false;
    return SetDefault(key, className);
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
  return SetDefault(key, className);
}

// Lists the class among the extension's "Open with" programs; below the extension's
// key when it is open, which spares looking it up again.
bool AddToOpenWithProgids(const Text& extensionKey, const registry::Key& extension) {
  registry::Key key;
  const Status created = extension.IsOpen()
                             ? registry::CreateKey(extension, layout::kOpenWithProgidsName, key)
                             : registry::CreateKey(extensionKey + layout::kOpenWithProgids, key);
  if (!Succeeded(created)) return false;
  return Succeeded(registry::SetTextValue(key, layout::kClassName, Text()));
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
  if (!WriteDefault(verbKey + layout::kCommand, *command)) return false;
  return Saved(group);
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
  if (!Succeeded(registry::CreateKey(className + layout::kShellOpenCommand, openCommand))) {
    return false;
  }
  // The outcome of this last write is not consulted, but a store that failed
  // under it is still noted.
  NoteStoreStatus(registry::SetTextValue(openCommand, layout::kDefaultValue, *command));
  return Saved(group);
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
  if (!Saved(group)) failed = true;
  return read && !failed;
}

}  // namespace orvanel
