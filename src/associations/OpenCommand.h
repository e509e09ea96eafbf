// The command the shell runs to open a file with Orvanel: "<module path>" "%1".
#pragma once

#include <optional>

#include "common/MaxPath.h"
#include "common/Text.h"

namespace orvanel {

// Texts of the registration are held in buffers of kMaxPath characters, the last for
// the null: a command that does not fit (a module path over 252 characters) is
// refused rather than written cut short.
inline constexpr size_t kMaxRegistrationText = kMaxPathCharacters;

// The open command for `modulePath`, or nothing when it does not fit.
std::optional<Text> OpenCommand(const Text& modulePath);

}  // namespace orvanel
