// The floor for Orvanel.exe -i under Wine: the least a program can do to register a
// catalogue of fresh extensions with the registry calls Orvanel uses. For each line:
// RegCreateKeyW ".ext" and RegSetValueW its default value "Orvanel", RegCreateKeyW
// "OpenWithProgids" below it and RegSetValueExW "Orvanel" = "", then close both.
// Usage: registry_floor CATALOGUE; prints the number of extensions written.
#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  std::FILE* file = _wfopen(argv[1], L"rb");
  if (!file) return 1;
  static const wchar_t kClass[] = L"Orvanel";
  static const wchar_t kEmpty[] = L"";
  char line[260];
  long written = 0;
  while (std::fgets(line, sizeof line, file)) {
    std::string name(line);
    while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) name.pop_back();
    if (name.empty() || name == "extensions") continue;
    const std::wstring key = L"." + std::wstring(name.begin(), name.end());
    HKEY extension = nullptr;
    HKEY progids = nullptr;
    if (RegCreateKeyW(HKEY_CLASSES_ROOT, key.c_str(), &extension) != ERROR_SUCCESS) return 1;
    RegSetValueW(extension, nullptr, REG_SZ, kClass, sizeof kClass);
    if (RegCreateKeyW(extension, L"OpenWithProgids", &progids) == ERROR_SUCCESS) {
      RegSetValueExW(progids, kClass, 0, REG_SZ, reinterpret_cast<const BYTE*>(kEmpty),
                     sizeof kEmpty);
      RegCloseKey(progids);
    }
    RegCloseKey(extension);
    ++written;
  }
  std::fclose(file);
  std::printf("%ld\n", written);
  return 0;
}
