// Process and user facts on Windows: the module's file name, the roaming
// application-data folder, membership of the Administrators group, the command
// line as the shell splits it, and the shell's "runas" and "open" verbs.
#include "platform/System.h"

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include "platform/win32/WideText.h"

namespace orvanel::platform {
namespace {

using win32::FromWide;
using win32::Wide;

// Takes GetLastError into a SystemError.
[[noreturn]] void ThrowLastError(const char* what, DWORD code) { throw SystemError(what, code); }

}  // namespace

Text ExecutablePath() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return length == 0 ? Text() : FromWide(path, length < MAX_PATH ? length : MAX_PATH - 1);
}

Text ApplicationDataFolder() {
  wchar_t path[MAX_PATH] = L"";
  if (!SHGetSpecialFolderPathW(nullptr, path, CSIDL_APPDATA, FALSE)) return Text();
  return FromWide(path);
}

char16_t PathSeparator() { return u'\\'; }

bool EnsureFolder(const Text& path) {
  Text folder = path;
  while (!folder.empty() && (folder.back() == u'\\' || folder.back() == u'/')) folder.pop_back();
  if (folder.empty()) return false;
  const DWORD attributes = GetFileAttributesW(Wide(folder));
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  const size_t separator = folder.find_last_of(u"\\/");
  // "C:" and "\\server\share" need no creating: they exist or the creation below fails.
  if (separator != Text::npos && separator > 0 && folder[separator - 1] != u':' &&
      !EnsureFolder(folder.substr(0, separator)))
    return false;
  return CreateDirectoryW(Wide(folder), nullptr) != 0 || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool IsAdministrator() {
  SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
  PSID administrators = nullptr;
  BOOL member = FALSE;
  DWORD failure = ERROR_SUCCESS;
  const char* failedCall = nullptr;
  if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &administrators)) {
    failure = GetLastError();
    failedCall = "AllocateAndInitializeSid";
  } else if (!CheckTokenMembership(nullptr, administrators, &member)) {
    failure = GetLastError();
    failedCall = "CheckTokenMembership";
  }
  if (administrators) FreeSid(administrators);
  if (failedCall) ThrowLastError(failedCall, failure);
  return member != FALSE;
}

std::vector<Text> CommandLineArguments() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<Text> result;
  if (!arguments) return result;
  for (int i = 0; i < count; ++i) result.push_back(FromWide(arguments[i]));
  LocalFree(arguments);
  return result;
}

void StartElevated(const Text& program, const Text& parameters) {
  // The system asks for consent; whether the copy starts is not looked at.
  ShellExecuteW(nullptr, L"runas", Wide(program), parameters.empty() ? nullptr : Wide(parameters),
                nullptr, SW_SHOWNORMAL);
}

bool OpenUrlInBrowser(const Text& url) {
  const HINSTANCE result =
      ShellExecuteW(nullptr, L"open", Wide(url), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace orvanel::platform
