#include "associations/Unregistration.h"

#include "associations/Catalogue.h"
#include "associations/DefaultValue.h"
#include "associations/RegistryLayout.h"
#include "associations/StoreFailures.h"
#include "platform/Registry.h"
#include "platform/Ui.h"

namespace orvanel {
namespace {

namespace registry = platform::registry;
using registry::Status;

// Every removal's outcome is noted, so that a store that cannot be written or cannot
// save fails the uninstall; a key that is missing or still in use is passed over.
bool StoreTook(Status status) { return !IsStoreFailure(NoteStoreStatus(status)); }

// Takes the class back from one extension; extensions that lack a key are skipped.
void UnassociateExtension(const Text& extension) {
  const Text extensionKey = u"." + extension;
  registry::Key key;
  if (NoteStoreStatus(registry::OpenKey(extensionKey, registry::Access::ReadWrite, key)) !=
      Status::Ok) {
    return;
  }

  const DefaultValue value = ReadDefaultValue(key);
  // Only an exact match is ours: a value differing in case was set by someone else.
  if (value.kind == DefaultValue::Kind::Text && value.text == layout::kClassName) {
    NoteStoreStatus(registry::SetTextValue(key, layout::kDefaultValue, Text()));
  }

  registry::Key progids;
  if (NoteStoreStatus(registry::OpenKey(key, layout::kOpenWithProgidsName,
                                        registry::Access::ReadWrite, progids)) == Status::Ok) {
    NoteStoreStatus(registry::DeleteValue(progids, layout::kClassName));
  }
}

}  // namespace

bool UnassociateAll(const Text& dataFolder) {
  if (!RemoveOpenWithVerb()) return false;
  if (!RemoveProgId()) return false;
  const bool unassociated = UnassociateCatalogue(dataFolder);
  // A store that failed is the uninstall's failure, not the catalogue's.
  if (FirstStoreFailure()) return false;
  if (!unassociated) {
    platform::ui::ShowMessageBox(u"One or more unassociations failed", u"Error",
                                 platform::ui::MessageButtons::Ok,
                                 platform::ui::MessageIcon::Error);
  }
  return true;
}

bool RemoveOpenWithVerb() {
  const Text verbKey = Text(layout::kAllFilesShell) + layout::kOpenWithVerb;
  registry::WriteGroup group;
  bool took = StoreTook(registry::DeleteKey(verbKey + layout::kCommand));
  // Refused while another sub-key lives under the verb: then it is not only ours.
  took = StoreTook(registry::DeleteKey(verbKey)) && took;
  took = StoreTook(registry::DeleteKey(Text(layout::kAllFilesShell) + layout::kClassName)) && took;
  return StoreTook(group.Close()) && took;
}

bool RemoveProgId() {
  const Text className = layout::kClassName;
  const Text applicationKey = layout::kApplications + className;
  const Text deepestFirst[] = {
      className + layout::kShellOpenCommand,
      className + layout::kShellOpen,
      className + layout::kShell,
      className + layout::kDefaultIcon,
      className,
      applicationKey + layout::kShellOpenCommand,
      applicationKey + layout::kShellOpen,
      applicationKey + layout::kShell,
      applicationKey,
  };
  registry::WriteGroup group;
  bool took = true;
  for (const Text& path : deepestFirst) took = StoreTook(registry::DeleteKey(path)) && took;
  return StoreTook(group.Close()) && took;
}

bool UnassociateCatalogue(const Text& dataFolder) {
  registry::WriteGroup group;
  const bool read = ForEachCatalogueExtension(dataFolder, UnassociateExtension);
  return StoreTook(group.Close()) && read && !FirstStoreFailure();
}

}  // namespace orvanel
