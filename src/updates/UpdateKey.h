// The public key that a downloaded installer must be signed with.
#pragma once

#include <optional>
#include <string>

namespace orvanel {

// The PEM text of the update key: the file named by ORVANEL_UPDATE_KEY when that is set
// (tests, staging), else the key built into the program. Nothing when the named file
// cannot be read: a key that was asked for is never silently replaced by another.
std::optional<std::string> UpdateKeyPem();

}  // namespace orvanel
