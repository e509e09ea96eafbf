// The program's own resources, compiled into the executable from Orvanel.rc.
#include "platform/Resources.h"

#include "platform/win32/WideText.h"

namespace orvanel::platform {
namespace {

constexpr int kStringBufferCharacters = 1024;

}  // namespace

InstanceHandle ProgramInstance() {
  return reinterpret_cast<InstanceHandle>(GetModuleHandleW(nullptr));
}

Text LoadStringResource(InstanceHandle instance, unsigned id) {
  wchar_t buffer[kStringBufferCharacters];
  const int length =
      LoadStringW(static_cast<HINSTANCE>(instance), id, buffer, kStringBufferCharacters);
  return length > 0 ? win32::FromWide(buffer, static_cast<size_t>(length)) : Text();
}

}  // namespace orvanel::platform
