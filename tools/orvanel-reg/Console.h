// What orvanel-reg says: results on standard output, errors on standard error
// ("ERROR: ..." as reg.exe words them), questions answered on standard input.
#pragma once

#include <string>

#include "platform/Registry.h"

namespace orvanel::reg {

constexpr int kSuccess = 0;
constexpr int kFailure = 1;

void Say(const std::string& line);
int Error(const std::string& message);  // returns kFailure
int InvalidSyntax(const std::string& detail);
int ErrorFor(platform::registry::Status status);  // returns kFailure

// Asks a Yes/No question; only "y" or "yes" (any case) is yes.
bool Confirm(const std::string& question);

int Completed();  // "The operation completed successfully."
int Cancelled();  // the user said no: nothing was done

}  // namespace orvanel::reg
