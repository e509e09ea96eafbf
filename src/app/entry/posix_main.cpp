#include "app/Dispatch.h"
#include "platform/posix/FrontendSelector.h"

int main() {
  // A frontend setting that names none is refused before anything is done.
  if (!orvanel::platform::posix::FrontendSettingIsKnown()) return -1;
  return orvanel::RunOrvanel(orvanel::platform::ProgramInstance());
}
