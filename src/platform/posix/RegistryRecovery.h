// A private copy of a store that a killed writer left with its journal, for a
// reader who may not undo the interrupted write in place: opening the copy for
// writing undoes it there, and the reader sees the store as it was before.
#pragma once

#include <string>

namespace orvanel::platform::posix {

// Copies the journal, then the store, into a new private folder. The journal goes
// first: should a writer undo the write meanwhile, the store copied after it is
// the same or already undone, and undoing it once more gives the same result.
bool CopyForRecovery(const std::string& store, std::string& copy, std::string& error);

// Removes the copy and its folder (an open connection keeps reading it).
void RemoveRecoveryCopy(const std::string& copy);

}  // namespace orvanel::platform::posix
