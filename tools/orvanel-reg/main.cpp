// orvanel-reg: looks at and edits the native registry store the way reg.exe looks
// at and edits the Windows registry, on HKEY_CLASSES_ROOT only.
#include <cstdio>

#include "Arguments.h"
#include "Commands.h"
#include "Console.h"

namespace {

constexpr const char* kUsage =
    "Usage: orvanel-reg COMMAND ...  (the store is $ORVANEL_REGISTRY, by default\n"
    "       /var/lib/orvanel/registry.db; KEY is HKCR\\path or HKEY_CLASSES_ROOT\\path)\n"
    "\n"
    "  query  KEY [/v NAME | /ve]\n"
    "  add    KEY [/v NAME | /ve] [/t TYPE] [/d DATA] [/f]\n"
    "  delete KEY [/v NAME | /ve | /va] [/f]\n"
    "  export [KEY] [FILE] [/y]\n"
    "  import FILE\n"
    "\n"
    "  /v NAME   the value NAME          /ve  the default value\n"
    "  /va       all values of the key   /f   do not ask before changing anything\n"
    "  /t TYPE   REG_SZ (default), REG_EXPAND_SZ, REG_MULTI_SZ (items separated by \\0),\n"
    "            REG_DWORD, REG_DWORD_BIG_ENDIAN, REG_QWORD, REG_BINARY, REG_NONE\n"
    "  /d DATA   the data: text, a number (decimal or 0x...), or hex digit pairs\n"
    "  /y        export over an existing FILE without asking\n"
    "\n"
    "delete without /v, /ve or /va deletes the key with everything below it. export\n"
    "writes .reg text (\"Windows Registry Editor Version 5.00\") to FILE or to standard\n"
    "output; import reads it back. Exit code 0 on success, 1 on failure.\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace orvanel::reg;
  std::vector<orvanel::Text> words;
  for (int i = 1; i < argc; ++i) words.push_back(orvanel::Utf8ToWide(argv[i]));
  Arguments arguments;
  std::string error;
  if (!ParseArguments(words, arguments, error)) return InvalidSyntax(error);
  if (arguments.command == "/?") {
    std::fputs(kUsage, stdout);
    return kSuccess;
  }
  if (arguments.command == "query") return RunQuery(arguments);
  if (arguments.command == "add") return RunAdd(arguments);
  if (arguments.command == "delete") return RunDelete(arguments);
  if (arguments.command == "export") return RunExport(arguments);
  return RunImport(arguments);
}
