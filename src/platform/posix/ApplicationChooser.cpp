// The application chooser of the terminal frontend: GIO tells the file's type and the
// installed applications that declare it; the user picks one by number and it is
// started with the file.
#include <fcntl.h>
#include <gio/gio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Ui.h"
#include "platform/posix/TerminalInput.h"
#include "platform/posix/TerminalText.h"

namespace orvanel::platform::ui {
namespace {

using posix::TerminalText;
using posix::WithoutBlanks;

// As much of the file's beginning as GIO looks at to recognise content.
constexpr size_t kSniffBytes = 4096;

struct GFreeDeleter {
  void operator()(gchar* text) const { g_free(text); }
};
using GText = std::unique_ptr<gchar, GFreeDeleter>;

struct AppListDeleter {
  void operator()(GList* list) const { g_list_free_full(list, g_object_unref); }
};
using AppList = std::unique_ptr<GList, AppListDeleter>;

// The first bytes of a regular file; nothing for anything else, so that a pipe or
// a device never makes the chooser wait.
std::optional<std::string> FileHead(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return std::nullopt;
  std::optional<std::string> head;
  struct stat info {};
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    head.emplace(kSniffBytes, '\0');
    const ssize_t n = read(fd, head->data(), head->size());
    if (n >= 0) {
      head->resize(static_cast<size_t>(n));
    } else {
      head.reset();
    }
  }
  close(fd);
  return head;
}

// By name and, when the file can be read, by content (an unreadable file is not empty).
GText GuessContentType(const std::string& path) {
  const std::optional<std::string> head = FileHead(path);
  const auto* data = head ? reinterpret_cast<const guchar*>(head->data()) : nullptr;
  return GText(g_content_type_guess(path.c_str(), data, head ? head->size() : 0, nullptr));
}

bool DeclaresType(GAppInfo* app, const char* type) {
  const char** declared = g_app_info_get_supported_types(app);
  for (; declared && *declared; ++declared) {
    if (g_content_type_is_a(type, *declared)) return true;
  }
  return false;
}

bool Contains(const std::vector<GAppInfo*>& apps, GAppInfo* app) {
  for (GAppInfo* known : apps) {
    if (g_app_info_equal(known, app)) return true;
  }
  return false;
}

// GIO's own associations first (they know the user's defaults); then every other
// installed application that declares the type or one it derives from, since GIO
// finds declarations only through a cache that not every system keeps up to date.
std::vector<GAppInfo*> ApplicationsFor(const char* type, const AppList& associated,
                                       const AppList& installed) {
  std::vector<GAppInfo*> apps;
  for (GList* item = associated.get(); item; item = item->next)
    apps.push_back(G_APP_INFO(item->data));
  for (GList* item = installed.get(); item; item = item->next) {
    GAppInfo* app = G_APP_INFO(item->data);
    if (DeclaresType(app, type) && !Contains(apps, app)) apps.push_back(app);
  }
  return apps;
}

std::optional<size_t> AskForApplication(size_t count) {
  for (;;) {
    std::fprintf(stderr,
                 "Number of the application to open it with (1 to %zu; Enter or q: none): ", count);
    std::fflush(stderr);
    const auto line = posix::ReadTerminalLine();
    if (!line) {
      std::fputc('\n', stderr);
      return std::nullopt;
    }
    const std::string answer = WithoutBlanks(*line);
    if (answer.empty() || answer == "q" || answer == "Q") return std::nullopt;
    if (answer.size() <= 4 && answer.find_first_not_of("0123456789") == std::string::npos) {
      const size_t number = std::stoul(answer);
      if (number >= 1 && number <= count) return number;
    }
    std::fprintf(stderr, "Not understood: %s\n", TerminalText(Utf8ToWide(*line)).c_str());
  }
}

void Launch(GAppInfo* app, const std::string& path) {
  GFile* file = g_file_new_for_path(path.c_str());
  GList files = {file, nullptr, nullptr};
  GError* error = nullptr;
  // GIO starts the application on its own and does not wait for it.
  if (!g_app_info_launch(app, &files, nullptr, &error)) {
    std::fprintf(stderr, "Could not start %s: %s\n",
                 TerminalText(Utf8ToWide(g_app_info_get_name(app))).c_str(),
                 TerminalText(Utf8ToWide(error ? error->message : "unknown error")).c_str());
  }
  if (error) g_error_free(error);
  g_object_unref(file);
}

}  // namespace

bool ShowApplicationChooser(const Text& filePath) {
  const std::string path = WideToUtf8(filePath);
  const GText type = GuessContentType(path);
  const AppList associated(g_app_info_get_all_for_type(type.get()));
  const AppList installed(g_app_info_get_all());
  const std::vector<GAppInfo*> apps = ApplicationsFor(type.get(), associated, installed);

  const std::string fileName = TerminalText(filePath.substr(filePath.rfind(u'/') + 1));
  const std::string typeName = TerminalText(Utf8ToWide(type.get()));
  if (apps.empty()) {
    std::fprintf(stderr, "No installed application is known for %s (type %s).\n", fileName.c_str(),
                 typeName.c_str());
    return false;
  }
  std::fprintf(stderr, "Applications for %s (type %s):\n", fileName.c_str(), typeName.c_str());
  for (size_t i = 0; i < apps.size(); ++i) {
    std::fprintf(stderr, "  %zu  %s\n", i + 1,
                 TerminalText(Utf8ToWide(g_app_info_get_name(apps[i]))).c_str());
  }
  if (const auto number = AskForApplication(apps.size())) Launch(apps[*number - 1], path);
  return true;
}

}  // namespace orvanel::platform::ui
