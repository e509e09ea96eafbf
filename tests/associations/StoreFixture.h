// A fresh registry store and data folder for each test, and short ways to prepare
// and read what the association manager writes.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "TestSupport.h"
#include "common/Text.h"
#include "platform/Registry.h"

namespace orvanel::test {

// A value as stored: its type and its bytes.
struct StoredValue {
  platform::registry::Type type = platform::registry::Type::None;
  std::string bytes;
};

bool operator==(const StoredValue& a, const StoredValue& b);
void PrintTo(const StoredValue& value, std::ostream* os);

// A REG_SZ value holding `text`: UTF-16 with its terminating null.
StoredValue Sz(const Text& text);

bool KeyExists(const Text& path);
// nullopt when the key or the value is missing.
std::optional<StoredValue> Value(const Text& path, const Text& name = Text());
// A REG_SZ value, created with its key.
void SetText(const Text& path, const Text& name, const Text& text);
void MakeKey(const Text& path);

// Points the registry at a store file in a fresh folder, which also serves as the
// data folder.
class StoreFixture : public testing::Test {
 protected:
  StoreFixture();

  Text DataFolder() const { return Utf8ToWide(dir_.path() + "/"); }
  void WriteCatalogue(const std::string& bytes) { WriteFile(dir_ / "extensions.txt", bytes); }

  TempDir dir_;
  ScopedEnv store_;
};

}  // namespace orvanel::test
