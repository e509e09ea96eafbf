// query KEY [/v NAME | /ve]: the key's values and sub-keys, or one value.
#include "Commands.h"
#include "Console.h"
#include "KeyName.h"
#include "ValueData.h"
#include "platform/Registry.h"

namespace orvanel::reg {

namespace registry = platform::registry;
using registry::Status;

namespace {

std::string ValueLine(const Text& name, registry::Type type, const std::string& data) {
  return "    " + (name.empty() ? std::string("(Default)") : WideToUtf8(name)) + "    " +
         TypeName(type) + "    " + ShowData(type, data);
}

}  // namespace

int RunQuery(const Arguments& arguments) {
  Text path;
  if (!ParseKeyName(arguments.operands[0], path)) return Error("Invalid key name.");
  registry::Key key;
  if (const Status status = registry::OpenKey(path, registry::Access::Read, key); status != Status::Ok)
    return ErrorFor(status);

  std::string out = "\n" + WideToUtf8(FullKeyName(path)) + "\n";
  if (arguments.valueName) {
    uint32_t size = 0;
    registry::Type type = registry::Type::None;
    Status status = registry::QueryValue(key, *arguments.valueName, nullptr, size, &type);
    std::string data(size, '\0');
    if (status == Status::Ok) status = registry::QueryValue(key, *arguments.valueName, data.data(), size, &type);
    if (status != Status::Ok) return ErrorFor(status);
    data.resize(size);
    out += ValueLine(*arguments.valueName, type, data) + "\n\n";
  } else {
    std::vector<registry::NamedValue> values;
    std::vector<Text> subkeys;
    Status status = registry::ListValues(key, values);
    if (status == Status::Ok) status = registry::ListSubkeys(key, subkeys);
    if (status != Status::Ok) return ErrorFor(status);
    for (const auto& value : values) out += ValueLine(value.name, value.type, value.data) + "\n";
    out += "\n";
    for (const Text& subkey : subkeys) out += WideToUtf8(FullKeyName(ChildPath(path, subkey))) + "\n";
  }
  std::fputs(out.c_str(), stdout);
  return kSuccess;
}

}  // namespace orvanel::reg
