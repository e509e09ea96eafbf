// export [KEY] [FILE]: the key (the whole store when no KEY) and everything below
// it as .reg text, to FILE or to standard output.
#include <unistd.h>

#include <cstdio>

#include "Commands.h"
#include "Console.h"
#include "KeyName.h"
#include "RegistryTree.h"
#include "platform/Files.h"

namespace orvanel::reg {

namespace registry = platform::registry;
using registry::Status;

namespace {

// Written beside the target and put in its place in one step: never half a file.
bool WriteWhole(const Text& file, const std::string& text) {
  const Text temporary = file + u".orvanel-reg-" + AsciiText(std::to_string(getpid()).c_str());
  std::FILE* out = platform::OpenFile(temporary, "wb");
  if (!out) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  if (std::fclose(out) != 0 || !written || !platform::ReplaceFile(temporary, file)) {
    platform::RemoveFile(temporary);
    return false;
  }
  return true;
}

}  // namespace

int RunExport(const Arguments& arguments) {
  Text path;
  std::optional<Text> file;
  const auto& operands = arguments.operands;
  if (operands.size() == 2) {
    if (!ParseKeyName(operands[0], path)) return Error("Invalid key name.");
    file = operands[1];
  } else if (operands.size() == 1 && !ParseKeyName(operands[0], path)) {
    file = operands[0];  // a file alone: the whole store
  }

  std::vector<RegKey> keys;
  const Status status = ReadTree(path, keys);
  if (status == Status::NotFound && path.empty()) {
    keys.push_back(RegKey{});  // no store yet: an empty root
  } else if (status != Status::Ok) {
    return ErrorFor(status);
  }
  const std::string text = FormatRegFile(keys);
  if (!file) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    return std::fflush(stdout) == 0 ? kSuccess : Error("Standard output could not be written.");
  }
  const std::string name = WideToUtf8(*file);
  if (!arguments.overwriteFile && access(name.c_str(), F_OK) == 0 &&
      !Confirm("File " + name + " already exists. Overwrite"))
    return Cancelled();
  if (!WriteWhole(*file, text)) return Error("Unable to write the file " + name + ".");
  return Completed();
}

}  // namespace orvanel::reg
