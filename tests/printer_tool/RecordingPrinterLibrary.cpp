// A stand-in for the outside printer library. It appends one line per event to
// the file named by DUVESSA_TEST_CALLS: "loaded" when the library is loaded, then
// "Name(argument)" for each call. IsInstalled answers DUVESSA_TEST_IS_INSTALLED
// (0 when unset); InstallPrinter and RemovePrinter answer DUVESSA_TEST_RESULT.
// Built four times: complete, and each time without one entry point
// (OMIT_INSTALL_PRINTER, OMIT_REMOVE_PRINTER, OMIT_IS_INSTALLED).
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void Record(const char* line) {
  const char* path = std::getenv("DUVESSA_TEST_CALLS");
  if (!path || !*path) return;
  if (std::FILE* file = std::fopen(path, "ab")) {
    std::fprintf(file, "%s\n", line);
    std::fclose(file);
  }
}

void RecordCall(const char* name, int32_t argument) {
  char line[64];
  std::snprintf(line, sizeof line, "%s(%ld)", name, static_cast<long>(argument));
  Record(line);
}

int32_t AnswerFrom(const char* variable) {
  const char* value = std::getenv(variable);
  return value ? static_cast<int32_t>(std::strtoll(value, nullptr, 0)) : 0;
}

__attribute__((constructor)) void RecordLoad() { Record("loaded"); }

}  // namespace

extern "C" {

#ifndef OMIT_INSTALL_PRINTER
__attribute__((visibility("default"))) int32_t InstallPrinter(int32_t argument) {
  RecordCall("InstallPrinter", argument);
  return AnswerFrom("DUVESSA_TEST_RESULT");
}
#endif

#ifndef OMIT_REMOVE_PRINTER
__attribute__((visibility("default"))) int32_t RemovePrinter(int32_t argument) {
  RecordCall("RemovePrinter", argument);
  return AnswerFrom("DUVESSA_TEST_RESULT");
}
#endif

#ifndef OMIT_IS_INSTALLED
__attribute__((visibility("default"))) int32_t IsInstalled(int32_t argument) {
  RecordCall("IsInstalled", argument);
  return AnswerFrom("DUVESSA_TEST_IS_INSTALLED");
}
#endif

}  // extern "C"
