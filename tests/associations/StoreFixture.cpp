#include "StoreFixture.h"

#include <ostream>
#include <vector>

#include "common/Utf16Le.h"

namespace orvanel::test {

namespace registry = platform::registry;

bool operator==(const StoredValue& a, const StoredValue& b) {
  return a.type == b.type && a.bytes == b.bytes;
}

void PrintTo(const StoredValue& value, std::ostream* os) {
  *os << "type " << static_cast<unsigned>(value.type) << ", " << value.bytes.size() << " bytes";
  if (value.bytes.size() % 2 == 0) {
    const Text text = FromUtf16Le(value.bytes);
    *os << " \"";
    for (const char16_t c : text) *os << (c == 0 ? std::string("\\0") : WideToUtf8(Text(1, c)));
    *os << "\"";
  }
}

StoredValue Sz(const Text& text) {
  return {platform::registry::Type::Sz, ToUtf16Le(text + u'\0')};
}

StoreFixture::StoreFixture() : store_("ORVANEL_REGISTRY", dir_ / "registry.db") {}

bool KeyExists(const Text& path) {
  registry::Key key;
  return registry::OpenKey(path, registry::Access::Read, key) == registry::Status::Ok;
}

std::optional<StoredValue> Value(const Text& path, const Text& name) {
  registry::Key key;
  if (registry::OpenKey(path, registry::Access::Read, key) != registry::Status::Ok) {
    return std::nullopt;
  }
  std::vector<char> buffer(4096);
  uint32_t size = static_cast<uint32_t>(buffer.size());
  StoredValue value;
  if (registry::QueryValue(key, name, buffer.data(), size, &value.type) != registry::Status::Ok) {
    return std::nullopt;
  }
  value.bytes.assign(buffer.data(), size);
  return value;
}

void SetText(const Text& path, const Text& name, const Text& text) {
  registry::Key key;
  ASSERT_EQ(registry::CreateKey(path, key), registry::Status::Ok);
  ASSERT_EQ(registry::SetTextValue(key, name, text), registry::Status::Ok);
}

void MakeKey(const Text& path) {
  registry::Key key;
  ASSERT_EQ(registry::CreateKey(path, key), registry::Status::Ok);
}

}  // namespace orvanel::test
