// The installed applications that handle a file (GIO knows the desktop's file types
// and the applications that declare them), and starting one with the file. Shared by
// the terminal chooser and the desktop chooser.
#pragma once

#include <gio/gio.h>

#include <memory>
#include <string>
#include <vector>

namespace orvanel::platform::posix {

// The file's content type, guessed from its name and, when it is a readable regular
// file, its first bytes (a pipe or a device is never read).
std::string ContentTypeOf(const std::string& path);

// The applications for a content type: GIO's associations first (they know the user's
// defaults), then every other installed application that declares the type or one it
// derives from, since GIO finds declarations only through a cache that not every
// system keeps up to date. The list owns its applications.
class ApplicationList {
 public:
  explicit ApplicationList(const std::string& contentType);
  ~ApplicationList();
  ApplicationList(const ApplicationList&) = delete;
  ApplicationList& operator=(const ApplicationList&) = delete;

  const std::vector<GAppInfo*>& applications() const { return applications_; }

 private:
  GList* associated_;
  GList* installed_;
  std::vector<GAppInfo*> applications_;
};

// The application's name for people, in UTF-8.
std::string ApplicationName(GAppInfo* application);

// Starts the application with the file; it runs on its own and is not waited for.
// Empty on success, else what went wrong.
std::string LaunchWithFile(GAppInfo* application, const std::string& path);

}  // namespace orvanel::platform::posix
