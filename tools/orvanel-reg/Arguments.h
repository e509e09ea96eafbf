// The command line of orvanel-reg, read the way reg.exe reads its own: a command,
// its operands (KEY, FILE) and switches such as /v NAME, /ve, /t TYPE, /d DATA, /f.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/Text.h"

namespace orvanel::reg {

struct Arguments {
  std::string command;          // query, add, delete, export, import, or /? for help
  std::vector<Text> operands;   // KEY and FILE, as given
  std::optional<Text> valueName;  // /v NAME, or the empty name for /ve
  bool allValues = false;       // /va
  std::optional<Text> type;     // /t
  std::optional<Text> data;     // /d
  bool force = false;           // /f: no questions
  bool overwriteFile = false;   // /y: export over an existing file
};

// False, with the reason, for an unknown command or switch, a switch that the
// command does not take, or the wrong number of operands.
bool ParseArguments(const std::vector<Text>& words, Arguments& arguments, std::string& error);

}  // namespace orvanel::reg
