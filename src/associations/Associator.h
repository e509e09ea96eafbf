// The object through which the install path makes Orvanel the handler of file types
// that nothing else opens: where the program lies, where its resources come from,
// where the data folder is, and the extensions that are never taken over.
#pragma once

#include <vector>

#include "common/Text.h"
#include "platform/Resources.h"

namespace orvanel {

class Associator {
 public:
  // Copies the two texts and keeps a reference to the caller's instance handle.
  // Touches neither the registry nor the file system.
  Associator(Text modulePath, platform::InstanceHandle& instanceHandle, Text dataFolder);

  // True when the extension (without dot) is on the exclusion list: exact and
  // case-sensitive, nothing trimmed or folded.
  bool IsExcluded(const Text& extension) const;

  // The all-files verb "*\shell\<verb name>" with its open command.
  bool AddOpenWithVerb();

  // The file class "Orvanel" (display name, icon, open command) and its
  // Applications entry.
  bool RegisterProgId();

  // Points every catalogue extension that is not excluded and has no handler at the
  // class, and lists the class among every such extension's "Open with" programs.
  // False when the catalogue cannot be read or any write for an extension failed.
  bool AssociateCatalogue();

  // Fixed after construction.
  const Text modulePath;
  platform::InstanceHandle& instanceHandle;
  const Text dataFolder;
  const std::vector<Text> exclusions;
};

}  // namespace orvanel
