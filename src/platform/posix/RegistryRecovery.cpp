#include "platform/posix/RegistryRecovery.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace orvanel::platform::posix {
namespace {

constexpr const char* kJournalSuffix = "-journal";

// Copies a whole file; a missing source is an error unless `mayBeMissing`.
bool CopyFile(const std::string& from, const std::string& to, bool mayBeMissing, bool& copied,
              std::string& error) {
  copied = false;
  const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) {
    if (mayBeMissing && errno == ENOENT) return true;
    error = from + ": " + std::strerror(errno);
    return false;
  }
  const int out = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  bool ok = out >= 0;
  char buffer[65536];
  while (ok) {
    const ssize_t n = read(in, buffer, sizeof buffer);
    if (n == 0) break;
    ok = n > 0 && write(out, buffer, static_cast<size_t>(n)) == n;
  }
  if (!ok) error = to + ": " + std::strerror(errno);
  close(in);
  if (out >= 0) close(out);
  copied = ok;
  return ok;
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('/')); }

}  // namespace

bool CopyForRecovery(const std::string& store, std::string& copy, std::string& error) {
  const char* temporary = std::getenv("TMPDIR");
  std::string pattern = std::string(temporary && *temporary ? temporary : "/tmp") +
                        "/orvanel-registry-XXXXXX";
  if (!mkdtemp(pattern.data())) {
    error = pattern + ": " + std::strerror(errno);
    return false;
  }
  copy = pattern + "/registry.db";
  bool copied = false;
  const bool ok = CopyFile(store + kJournalSuffix, copy + kJournalSuffix, true, copied, error) &&
                  CopyFile(store, copy, false, copied, error);
  if (!ok) RemoveRecoveryCopy(copy);
  return ok;
}

void RemoveRecoveryCopy(const std::string& copy) {
  unlink((copy + kJournalSuffix).c_str());
  unlink(copy.c_str());
  rmdir(FolderOf(copy).c_str());
}

}  // namespace orvanel::platform::posix
