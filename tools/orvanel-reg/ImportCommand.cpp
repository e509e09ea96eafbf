// import FILE: the keys and values of a .reg file, written in one group. The whole
// file is read and checked before anything is written.
#include <cstdio>

#include "Commands.h"
#include "Console.h"
#include "RegFile.h"
#include "platform/Files.h"

namespace orvanel::reg {

namespace registry = platform::registry;
using registry::Status;

namespace {

bool ReadWhole(const Text& file, std::string& bytes) {
  std::FILE* in = platform::OpenFile(file, "rb");
  if (!in) return false;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) bytes.append(buffer, n);
  const bool ok = !std::ferror(in);
  std::fclose(in);
  return ok;
}

}  // namespace

int RunImport(const Arguments& arguments) {
  const Text& file = arguments.operands[0];
  const std::string name = WideToUtf8(file);
  std::string bytes, error;
  if (!ReadWhole(file, bytes)) return Error("Unable to open the file " + name + ".");
  std::vector<RegKey> keys;
  if (!ParseRegFile(bytes, keys, error)) return Error(name + ", " + error);

  registry::WriteGroup group;
  for (const RegKey& entry : keys) {
    registry::Key key;
    Status status = registry::CreateKey(entry.path, key);
    for (size_t i = 0; status == Status::Ok && i < entry.values.size(); ++i) {
      const auto& value = entry.values[i];
      status = registry::SetValue(key, value.name, value.type, value.data.data(),
                                  static_cast<uint32_t>(value.data.size()));
    }
    if (status != Status::Ok) return ErrorFor(status);
  }
  return Completed();
}

}  // namespace orvanel::reg
