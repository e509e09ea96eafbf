// Natively the string table is compiled into the program.
#include "platform/Resources.h"

#include "resources/StringTable.h"

namespace orvanel::platform {
namespace {

struct StringEntry {
  unsigned id;
  const char* text;
};

#define ORVANEL_STRING_ENTRY(id, text) {id, text},
constexpr StringEntry kStrings[] = {ORVANEL_STRING_TABLE(ORVANEL_STRING_ENTRY)};
#undef ORVANEL_STRING_ENTRY

constexpr size_t kStringBufferCharacters = 1024;

}  // namespace

InstanceHandle ProgramInstance() { return nullptr; }

Text LoadStringResource(InstanceHandle, unsigned id) {
  for (const auto& entry : kStrings) {
    if (entry.id != id) continue;
    Text text = Utf8ToWide(entry.text);
    if (text.size() >= kStringBufferCharacters) text.resize(kStringBufferCharacters - 1);
    return text;
  }
  return Text();
}

}  // namespace orvanel::platform
