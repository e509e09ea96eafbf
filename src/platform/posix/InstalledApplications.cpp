#include "platform/posix/InstalledApplications.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>

namespace orvanel::platform::posix {
namespace {

// As much of the file's beginning as GIO looks at to recognise content.
constexpr size_t kSniffBytes = 4096;

// The first bytes of a regular file; nothing for anything else, so that a pipe or
// a device never makes the lookup wait.
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

}  // namespace

std::string ContentTypeOf(const std::string& path) {
  // By name and, when the file can be read, by content (an unreadable file is not empty).
  const std::optional<std::string> head = FileHead(path);
  const auto* data = head ? reinterpret_cast<const guchar*>(head->data()) : nullptr;
  gchar* type = g_content_type_guess(path.c_str(), data, head ? head->size() : 0, nullptr);
  std::string result = type ? type : "application/octet-stream";
  g_free(type);
  return result;
}

ApplicationList::ApplicationList(const std::string& contentType)
    : associated_(g_app_info_get_all_for_type(contentType.c_str())),
      installed_(g_app_info_get_all()) {
  for (GList* item = associated_; item; item = item->next)
    applications_.push_back(G_APP_INFO(item->data));
  for (GList* item = installed_; item; item = item->next) {
    GAppInfo* app = G_APP_INFO(item->data);
    if (DeclaresType(app, contentType.c_str()) && !Contains(applications_, app))
      applications_.push_back(app);
  }
}

ApplicationList::~ApplicationList() {
  g_list_free_full(associated_, g_object_unref);
  g_list_free_full(installed_, g_object_unref);
}

std::string ApplicationName(GAppInfo* application) {
  const char* name = g_app_info_get_name(application);
  return name ? name : "";
}

std::string LaunchWithFile(GAppInfo* application, const std::string& path) {
  GFile* file = g_file_new_for_path(path.c_str());
  GList files = {file, nullptr, nullptr};
  GError* error = nullptr;
  std::string failure;
  if (!g_app_info_launch(application, &files, nullptr, &error))
    failure = error ? error->message : "unknown error";
  if (error) g_error_free(error);
  g_object_unref(file);
  return failure;
}

}  // namespace orvanel::platform::posix
