#include "associations/Unregistration.h"

#include "associations/Catalogue.h"
#include "associations/DefaultValue.h"
#include "associations/RegistryLayout.h"
#include "platform/Registry.h"
#include "platform/Ui.h"

namespace orvanel {
namespace {

namespace registry = platform::registry;
using registry::Status;

// Takes the class back from one extension; extensions that lack a key are skipped.
void UnassociateExtension(const Text& extension) {
  const Text extensionKey = u"." + extension;
  registry::Key key;
  if (registry::OpenKey(extensionKey, registry::Access::ReadWrite, key) != Status::Ok) return;

  const DefaultValue value = ReadDefaultValue(key);
  // Only an exact match is ours: a value differing in case was set by someone else.
  if (value.kind == DefaultValue::Kind::Text && value.text == layout::kClassName) {
    registry::SetTextValue(key, layout::kDefaultValue, Text());
  }

  registry::Key progids;
  if (registry::OpenKey(key, layout::kOpenWithProgidsName, registry::Access::ReadWrite, progids) ==
      Status::Ok) {
    registry::DeleteValue(progids, layout::kClassName);
  }
}

}  // namespace

bool UnassociateAll(const Text& dataFolder) {
  if (!RemoveOpenWithVerb()) return false;
  if (!RemoveProgId()) return false;
  if (!UnassociateCatalogue(dataFolder)) {
    platform::ui::ShowMessageBox(u"One or more unassociations failed", u"Error",
                                 platform::ui::MessageButtons::Ok,
                                 platform::ui::MessageIcon::Error);
  }
  return true;
}

bool RemoveOpenWithVerb() {
  const Text verbKey = Text(layout::kAllFilesShell) + layout::kOpenWithVerb;
  registry::WriteGroup group;
  registry::DeleteKey(verbKey + layout::kCommand);
  // Refused while another sub-key lives under the verb: then it is not only ours.
  registry::DeleteKey(verbKey);
  registry::DeleteKey(Text(layout::kAllFilesShell) + layout::kClassName);
  return true;
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
  for (const Text& path : deepestFirst) registry::DeleteKey(path);
  return true;
}

bool UnassociateCatalogue(const Text& dataFolder) {
  registry::WriteGroup group;
  return ForEachCatalogueExtension(dataFolder, UnassociateExtension);
}

}  // namespace orvanel
