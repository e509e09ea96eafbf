// Process and user facts: where the program lies, where per-user data goes,
// administrator rights, the command line and starting an elevated program.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "common/Text.h"

namespace orvanel::platform {

// The failure of a system call, carrying the system's error code.
class SystemError : public std::runtime_error {
 public:
  SystemError(const std::string& what, uint32_t code) : std::runtime_error(what), code_(code) {}
  uint32_t code() const { return code_; }

 private:
  uint32_t code_;
};

// Full path of the running executable; empty when the system cannot tell.
Text ExecutablePath();

// The current user's roaming application-data folder, without a trailing separator.
Text ApplicationDataFolder();

// The separator of file paths: '\' on Windows, '/' natively.
char16_t PathSeparator();

// Creates the folder when it is missing (its parents too); true when it exists afterwards.
bool EnsureFolder(const Text& path);

// True when the process runs with administrator rights; throws SystemError when
// the test itself fails.
bool IsAdministrator();

// The process's arguments, argv[0] first.
std::vector<Text> CommandLineArguments();

// Starts `program` with administrator rights (the system asks the user), with
// `parameters` as its only argument when not empty. Never waits, reports nothing.
void StartElevated(const Text& program, const Text& parameters);

// Opens a web address with the user's default browser; true when the start was accepted.
bool OpenUrlInBrowser(const Text& url);

}  // namespace orvanel::platform
