// Whether the registry took the writes of this run. A write refused for the store
// itself (it cannot be written here, or could not save) makes the whole install or
// uninstall a failure; one refused for its own name (too long), a missing key or a
// key still in use are the ordinary outcomes of a large catalogue and a shared tree.
#pragma once

#include <optional>

#include "platform/Registry.h"

namespace orvanel {

// True for a status that says the store itself failed.
bool IsStoreFailure(platform::registry::Status status);

// Passes the status through, remembering it when it is the run's first store failure.
platform::registry::Status NoteStoreStatus(platform::registry::Status status);

// The run's first store failure, if any.
std::optional<platform::registry::Status> FirstStoreFailure();

}  // namespace orvanel
