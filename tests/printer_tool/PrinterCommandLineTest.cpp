// The one command line the process-level tests cannot produce: a program started
// with an empty argument vector (argc 0) must still choose the install step.
#include <gtest/gtest.h>

#include "printer_tool/PrinterCommandLine.h"

namespace orvanel::printer {
namespace {

TEST(PrinterCommandLine, EmptyArgumentVectorMeansInstall) {
  const char* const argv[] = {nullptr};
  EXPECT_EQ(ChooseStep(0, argv), PrinterStep::Install);
}

}  // namespace
}  // namespace orvanel::printer
