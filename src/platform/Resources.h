// The program's own resources: the string table.
#pragma once

#include "common/Text.h"

namespace orvanel::platform {

// The module from which resources are loaded (HINSTANCE on Windows).
using InstanceHandle = void*;

// The instance handle of the running program.
InstanceHandle ProgramInstance();

// LoadStringW into a buffer of 1024 characters: at most 1023 characters; empty when absent.
Text LoadStringResource(InstanceHandle instance, unsigned id);

}  // namespace orvanel::platform
