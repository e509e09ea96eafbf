// The five commands of orvanel-reg; each returns the exit code (0 or 1).
#pragma once

#include "Arguments.h"

namespace orvanel::reg {

int RunQuery(const Arguments& arguments);
int RunAdd(const Arguments& arguments);
int RunDelete(const Arguments& arguments);
int RunExport(const Arguments& arguments);
int RunImport(const Arguments& arguments);

}  // namespace orvanel::reg
