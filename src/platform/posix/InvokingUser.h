// The user on whose behalf the process runs. An elevated copy started through
// pkexec runs as root but works for the user who asked (PKEXEC_UID); what it
// creates in that user's data folder must stay that user's.
#pragma once

#include <sys/types.h>

#include <optional>

namespace orvanel::platform::posix {

struct InvokingUser {
  uid_t uid;
  gid_t gid;
};

// The user that pkexec names when this process runs elevated for someone else.
std::optional<InvokingUser> ElevatedForUser();

// Gives a file or folder this process just created to that user, if there is one.
void HandOverToInvokingUser(const char* path);
void HandOverToInvokingUser(int fd);

}  // namespace orvanel::platform::posix
