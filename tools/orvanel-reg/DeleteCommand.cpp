// delete KEY [/v NAME | /ve | /va] [/f]: one value, all values, or the key with
// everything below it (as reg.exe deletes a key).
#include "Commands.h"
#include "Console.h"
#include "KeyName.h"
#include "RegistryTree.h"

namespace orvanel::reg {

namespace registry = platform::registry;
using registry::Status;

namespace {

int DeleteValues(const Text& path, const Arguments& arguments) {
  registry::Key key;
  if (const Status status = registry::OpenKey(path, registry::Access::ReadWrite, key); status != Status::Ok)
    return ErrorFor(status);
  std::vector<Text> names;
  if (arguments.allValues) {
    std::vector<registry::NamedValue> values;
    if (const Status status = registry::ListValues(key, values); status != Status::Ok)
      return ErrorFor(status);
    for (const auto& value : values) names.push_back(value.name);
  } else {
    names.push_back(*arguments.valueName);
  }
  const std::string what =
      arguments.allValues ? "all values under the registry key " + WideToUtf8(FullKeyName(path))
      : names[0].empty()  ? std::string("the registry value (Default)")
                          : "the registry value " + WideToUtf8(names[0]);
  if (!arguments.force && !Confirm("Delete " + what)) return Cancelled();
  registry::WriteGroup group;
  for (const Text& name : names) {
    if (const Status status = registry::DeleteValue(key, name); status != Status::Ok) return ErrorFor(status);
  }
  return Completed();
}

}  // namespace

int RunDelete(const Arguments& arguments) {
  Text path;
  if (!ParseKeyName(arguments.operands[0], path)) return Error("Invalid key name.");
  if (arguments.valueName || arguments.allValues) return DeleteValues(path, arguments);
  if (path.empty()) return Error("The root key cannot be deleted.");
  {
    registry::Key key;
    if (const Status status = registry::OpenKey(path, registry::Access::Read, key); status != Status::Ok)
      return ErrorFor(status);
  }
  if (!arguments.force && !Confirm("Permanently delete the registry key " + WideToUtf8(FullKeyName(path))))
    return Cancelled();
  registry::WriteGroup group;
  const Status status = DeleteTree(path);
  return status == Status::Ok ? Completed() : ErrorFor(status);
}

}  // namespace orvanel::reg
