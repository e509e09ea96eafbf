// A fresh registry store in a temporary folder for each test, and short helpers
// to read and write it through the registry seam.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "common/Utf16Le.h"
#include "platform/Registry.h"

namespace orvanel::test {

namespace registry = platform::registry;
using registry::Status;

class RegistryFixture : public ::testing::Test {
 protected:
  TempDir dir;
  // In a folder that does not exist yet: the first writer creates it.
  const std::string storePath = dir / "lib/registry.db";
  ScopedEnv storeSetting{"ORVANEL_REGISTRY", storePath};

  static Status Put(const Text& path, const Text& name, const Text& text) {
    registry::Key key;
    const Status status = registry::CreateKey(path, key);
    return status == Status::Ok ? registry::SetTextValue(key, name, text) : status;
  }

  // The value's raw bytes, or nullopt when the key or value cannot be read.
  static std::optional<std::string> Get(const Text& path, const Text& name,
                                        registry::Type* type = nullptr) {
    registry::Key key;
    if (registry::OpenKey(path, registry::Access::Read, key) != Status::Ok) return std::nullopt;
    char buffer[1024];
    uint32_t size = sizeof buffer;
    if (registry::QueryValue(key, name, buffer, size, type) != Status::Ok) return std::nullopt;
    return std::string(buffer, size);
  }

  static bool KeyExists(const Text& path) {
    registry::Key key;
    return registry::OpenKey(path, registry::Access::Read, key) == Status::Ok;
  }
};

// UTF-16LE bytes of a text with its terminating null, as REG_SZ holds it.
inline std::string SzBytes(const Text& text) { return ToUtf16Le(text + u'\0'); }

}  // namespace orvanel::test
