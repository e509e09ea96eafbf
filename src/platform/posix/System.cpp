// Process and user facts natively: /proc for the program and its arguments,
// the XDG data folder, effective user 0 as administrator, pkexec for elevation.
#include "platform/System.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "platform/posix/Folders.h"
#include "platform/posix/InvokingUser.h"
#include "platform/posix/Spawn.h"

namespace orvanel::platform {
namespace {

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  const passwd* entry = getpwuid(getuid());
  return entry && entry->pw_dir ? entry->pw_dir : "/";
}

std::string DataHome() {
  if (const char* dataHome = std::getenv("XDG_DATA_HOME"); dataHome && dataHome[0] == '/')
    return dataHome;
  return HomeFolder() + "/.local/share";
}

// What an elevated copy must see of this process's settings: the same store,
// sites and frontend, the same display, and this user's data folder.
std::vector<std::string> SettingsForElevatedCopy() {
  std::vector<std::string> settings;
  for (const char* name : {"ORVANEL_REGISTRY", "ORVANEL_INFO_SITE", "ORVANEL_DOWNLOAD_SITE",
                           "ORVANEL_FRONTEND", "DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY",
                           "XDG_RUNTIME_DIR", "DBUS_SESSION_BUS_ADDRESS", "LANG"}) {
    if (const char* value = std::getenv(name)) settings.push_back(std::string(name) + "=" + value);
  }
  settings.push_back("XDG_DATA_HOME=" + DataHome());
  return settings;
}

}  // namespace

Text ExecutablePath() {
  std::string path(4096, '\0');
  const ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
  if (n <= 0 || static_cast<size_t>(n) >= path.size()) return Text();
  path.resize(static_cast<size_t>(n));
  return Utf8ToWide(path);
}

Text ApplicationDataFolder() { return Utf8ToWide(DataHome()); }

char16_t PathSeparator() { return u'/'; }

bool EnsureFolder(const Text& path) {
  // A folder that an elevated copy makes belongs to the user who asked for it.
  return posix::MakeFolders(WideToUtf8(path), 0755, [](const std::string& made) {
           posix::HandOverToInvokingUser(made.c_str());
         }) == 0;
}

bool IsAdministrator() { return geteuid() == 0; }

std::vector<Text> CommandLineArguments() {
  std::ifstream file("/proc/self/cmdline", std::ios::binary);
  const std::string all((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<Text> arguments;
  size_t start = 0;
  while (start < all.size()) {
    size_t end = all.find('\0', start);
    if (end == std::string::npos) end = all.size();
    arguments.push_back(Utf8ToWide(all.substr(start, end - start)));
    start = end + 1;
  }
  return arguments;
}

void StartElevated(const Text& program, const Text& parameters) {
  const auto pkexec = posix::FindOnPath("pkexec");
  if (!pkexec) return;
  // pkexec gives the new process a clean environment; env(1) puts back what it must see.
  std::vector<std::string> argv = {*pkexec, "/usr/bin/env"};
  for (auto& setting : SettingsForElevatedCopy()) argv.push_back(std::move(setting));
  argv.push_back(WideToUtf8(program));
  if (!parameters.empty()) argv.push_back(WideToUtf8(parameters));
  posix::StartDetached(argv, posix::ChildInput::Inherit);
}

bool OpenUrlInBrowser(const Text& url) {
  const auto opener = posix::FindOnPath("xdg-open");
  return opener && posix::StartDetached({*opener, WideToUtf8(url)}, posix::ChildInput::Detach);
}

}  // namespace orvanel::platform
