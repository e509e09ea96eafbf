// What uninstall removes: the all-files verb, the file class with its Applications
// entry, and the class from every catalogue extension. Needs only the data folder.
#pragma once

#include "common/Text.h"

namespace orvanel {

// Runs the three removals in order. Shows "One or more unassociations failed" when
// the catalogue cannot be read, and still succeeds. False when the store cannot be
// written or could not save (FirstStoreFailure tells which).
bool UnassociateAll(const Text& dataFolder);

// Deletes the verb's command, then the verb key itself when nothing else lives
// under it, then "*\shell\Orvanel". Keys that are missing or in use are passed over;
// false only when the store cannot be written or could not save.
bool RemoveOpenWithVerb();

// Deletes the class key and its Applications entry, deepest keys first; a key that
// still holds someone else's sub-key stays, with its values. False only when the store
// cannot be written or could not save.
bool RemoveProgId();

// Empties the default value of every catalogue extension that names the class,
// and removes the class from its "Open with" programs. False when the catalogue
// cannot be read (nothing is touched then), or when the store failed.
bool UnassociateCatalogue(const Text& dataFolder);

}  // namespace orvanel
