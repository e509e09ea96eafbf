#include "platform/posix/InvokingUser.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace orvanel::platform::posix {

std::optional<InvokingUser> ElevatedForUser() {
  const char* pkexecUid = std::getenv("PKEXEC_UID");
  if (geteuid() != 0 || !pkexecUid || !*pkexecUid) return std::nullopt;
  char* end = nullptr;
  const unsigned long uid = std::strtoul(pkexecUid, &end, 10);
  if (*end != '\0' || uid == 0) return std::nullopt;
  const passwd* entry = getpwuid(static_cast<uid_t>(uid));
  return InvokingUser{static_cast<uid_t>(uid), entry ? entry->pw_gid : static_cast<gid_t>(uid)};
}

void HandOverToInvokingUser(const char* path) {
  if (const auto user = ElevatedForUser()) {
    if (lchown(path, user->uid, user->gid) != 0) {
      // The file stays root's; the user can still read it.
    }
  }
}

void HandOverToInvokingUser(int fd) {
  if (const auto user = ElevatedForUser()) {
    if (fchown(fd, user->uid, user->gid) != 0) {
      // As above: readable all the same.
    }
  }
}

}  // namespace orvanel::platform::posix
