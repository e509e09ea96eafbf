#include "Arguments.h"

#include <cstring>

#include "KeyName.h"

namespace orvanel::reg {
namespace {

struct CommandRule {
  const char* name;
  const char* switches;  // the switches it takes, each followed by a space
  size_t minOperands, maxOperands;
};
constexpr CommandRule kCommands[] = {
    {"query", "v ve ", 1, 1},
    {"add", "v ve t d f ", 1, 1},
    {"delete", "v ve va f ", 1, 1},
    {"export", "y ", 0, 2},
    {"import", "", 1, 1},
};

// The switch name without its '/' or '-', in lower case, or empty when the word
// is no switch (paths such as /tmp/x.reg are operands).
std::string SwitchName(const Text& word) {
  if (word.size() < 2 || word.size() > 3 || (word[0] != u'/' && word[0] != u'-')) return "";
  for (const char* name : {"v", "ve", "va", "t", "d", "f", "y", "?"}) {
    if (SameAsciiWord(word.substr(1), name)) return name;
  }
  return "";
}

}  // namespace

bool ParseArguments(const std::vector<Text>& words, Arguments& arguments, std::string& error) {
  arguments = Arguments();
  if (words.empty()) {
    error = "No command given.";
    return false;
  }
  if (SwitchName(words[0]) == "?") {
    arguments.command = "/?";
    return true;
  }
  const CommandRule* rule = nullptr;
  for (const CommandRule& candidate : kCommands) {
    if (SameAsciiWord(words[0], candidate.name)) rule = &candidate;
  }
  if (!rule) {
    error = "Unknown command \"" + WideToUtf8(words[0]) + "\".";
    return false;
  }
  arguments.command = rule->name;
  for (size_t i = 1; i < words.size(); ++i) {
    const std::string name = SwitchName(words[i]);
    if (name.empty()) {
      arguments.operands.push_back(words[i]);
      continue;
    }
    if (name == "?") {
      arguments.command = "/?";
      return true;
    }
    if (!std::strstr(rule->switches, (name + " ").c_str())) {
      error = "The " + std::string(rule->name) + " command does not take /" + name + ".";
      return false;
    }
    const bool takesWord = name == "v" || name == "t" || name == "d";
    if (takesWord && i + 1 >= words.size()) {
      error = "/" + name + " needs a value.";
      return false;
    }
    const bool namesValue = name == "v" || name == "ve" || name == "va";
    if (namesValue && (arguments.valueName || arguments.allValues)) {
      error = "Give only one of /v, /ve and /va.";
      return false;
    }
    if (name == "v") arguments.valueName = words[++i];
    if (name == "ve") arguments.valueName = Text();
    if (name == "va") arguments.allValues = true;
    if (name == "t") arguments.type = words[++i];
    if (name == "d") arguments.data = words[++i];
    if (name == "f") arguments.force = true;
    if (name == "y") arguments.overwriteFile = true;
  }
  if (arguments.operands.size() < rule->minOperands || arguments.operands.size() > rule->maxOperands) {
    error = "Wrong number of operands for " + std::string(rule->name) + ".";
    return false;
  }
  return true;
}

}  // namespace orvanel::reg
