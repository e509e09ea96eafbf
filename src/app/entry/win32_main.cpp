// Orvanel on Windows: a Unicode GUI program. Of the entry point's parameters only
// the instance handle is used; the command line is fetched again and split by the
// platform layer.
#include <windows.h>

#include "app/Dispatch.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  return orvanel::RunOrvanel(instance);
}
