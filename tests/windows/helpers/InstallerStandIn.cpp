// Served by the loopback site as the newer Orvanel's installer: when Orvanel starts
// it, it writes its own path and its arguments to the file named by
// ORVANEL_TEST_INSTALLER_LOG, and ends.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int wmain(int argc, wchar_t** argv) {
  const char* log = std::getenv("ORVANEL_TEST_INSTALLER_LOG");
  if (!log) return 1;
  std::FILE* file = std::fopen(log, "ab");
  if (!file) return 1;
  for (int i = 0; i < argc; ++i) std::fprintf(file, "%ls\n", argv[i]);
  std::fclose(file);
  return 0;
}
