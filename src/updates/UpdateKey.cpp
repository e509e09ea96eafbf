#include "updates/UpdateKey.h"

#include <cstdio>
#include <cstdlib>

#include "platform/Diagnostics.h"
#include "platform/Files.h"
#include "resources/UpdateKey.h"

namespace orvanel {
namespace {

// A PEM public key is a few hundred bytes; anything far larger is no key.
constexpr size_t kMaxKeyFileBytes = 64 * 1024;

std::optional<std::string> ReadKeyFile(const char* path) {
  std::FILE* file = platform::OpenFile(Utf8ToWide(path), "rb");
  if (!file) return std::nullopt;
  std::string pem(kMaxKeyFileBytes + 1, '\0');
  pem.resize(std::fread(pem.data(), 1, pem.size(), file));
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed || pem.size() > kMaxKeyFileBytes) return std::nullopt;
  return pem;
}

}  // namespace

std::optional<std::string> UpdateKeyPem() {
  const char* path = std::getenv("ORVANEL_UPDATE_KEY");
  if (!path || !*path) return std::string(kBuiltInUpdateKey);
  std::optional<std::string> pem = ReadKeyFile(path);
  if (!pem)
    platform::ReportDiagnostic(std::string("orvanel: ORVANEL_UPDATE_KEY=\"") + path +
                               "\" cannot be read");
  return pem;
}

}  // namespace orvanel
