// add KEY [/v NAME | /ve] [/t TYPE] [/d DATA] [/f]: creates the key, and sets the
// value when one is named or data is given (the default value without /v).
#include "Commands.h"
#include "Console.h"
#include "KeyName.h"
#include "ValueData.h"

namespace orvanel::reg {

namespace registry = platform::registry;
using registry::Status;

int RunAdd(const Arguments& arguments) {
  Text path;
  if (!ParseKeyName(arguments.operands[0], path)) return Error("Invalid key name.");
  registry::Type type = registry::Type::Sz;
  if (arguments.type && !ParseTypeName(*arguments.type, type))
    return Error("Unknown type \"" + WideToUtf8(*arguments.type) + "\".");
  const bool setsValue = arguments.valueName || arguments.type || arguments.data;
  const Text name = arguments.valueName.value_or(Text());
  std::string data, error;
  const bool numeric = type == registry::Type::Dword || type == registry::Type::DwordBigEndian ||
                       type == registry::Type::Qword;
  if (setsValue && !DataFromArgument(type, arguments.data.value_or(numeric ? u"0" : u""), data, error))
    return Error(error);

  registry::Key key;
  if (const Status status = registry::CreateKey(path, key); status != Status::Ok) return ErrorFor(status);
  if (!setsValue) return Completed();
  uint32_t size = 0;
  if (!arguments.force && registry::QueryValue(key, name, nullptr, size, nullptr) == Status::Ok &&
      !Confirm("Value " + (name.empty() ? std::string("(Default)") : WideToUtf8(name)) +
               " exists, overwrite"))
    return Cancelled();
  const Status status =
      registry::SetValue(key, name, type, data.data(), static_cast<uint32_t>(data.size()));
  return status == Status::Ok ? Completed() : ErrorFor(status);
}

}  // namespace orvanel::reg
