#include "FuzzInput.h"

#include <stdlib.h>

#include <filesystem>

namespace orvanel::fuzz {

const std::string& ScratchFolder() {
  // Never freed: the clean-up at exit still needs it after static objects are gone.
  static const std::string* folder = [] {
    char pattern[] = "/tmp/orvanel-fuzz-XXXXXX";
    if (!mkdtemp(pattern)) std::abort();
    auto* path = new std::string(std::string(pattern) + "/");
    // Removed with everything in it when the run ends.
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(ScratchFolder(), ignored);
    });
    return path;
  }();
  return *folder;
}

std::string WriteScratchFile(const std::string& name, const std::string& bytes) {
  const std::string path = ScratchFolder() + name;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) std::abort();
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  return path;
}

}  // namespace orvanel::fuzz
