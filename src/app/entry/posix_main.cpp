#include "app/Dispatch.h"

int main() { return orvanel::RunOrvanel(orvanel::platform::ProgramInstance()); }
