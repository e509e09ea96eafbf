// The store through the registry seam, in one process: names, keys, values and
// the answers Windows gives for each.
#include <sys/stat.h>

#include <cstring>
#include <optional>
#include <vector>

#include "ChildProcess.h"
#include "RegistryFixture.h"
#include "platform/Registry.h"

namespace orvanel::test {
namespace {

using registry::Access;
using registry::Type;

using StoreTest = RegistryFixture;

TEST_F(StoreTest, ReadingAMissingStoreFindsNothingAndCreatesNothing) {
  registry::Key key;
  EXPECT_EQ(registry::OpenKey(u"Orvanel", Access::Read, key), Status::NotFound);
  EXPECT_EQ(registry::OpenKey(u"", Access::Read, key), Status::NotFound);
  EXPECT_EQ(registry::DeleteKey(u"Orvanel"), Status::NotFound);
  EXPECT_FALSE(FileExists(dir / "lib"));
}

TEST_F(StoreTest, CreateKeyMakesMissingParentsAndAStoreEveryUserCanRead) {
  const mode_t oldMask = umask(077);
  registry::Key key;
  const Status status = registry::CreateKey(u"Applications\\Orvanel\\shell\\open\\command", key);
  umask(oldMask);
  ASSERT_EQ(status, Status::Ok);
  EXPECT_TRUE(key.IsOpen());
  for (const char16_t* path : {u"Applications", u"Applications\\Orvanel",
                           u"Applications\\Orvanel\\shell\\open"})
    EXPECT_TRUE(KeyExists(path)) << WideToUtf8(path);

  struct stat info;
  ASSERT_EQ(stat(storePath.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
  ASSERT_EQ(stat((dir / "lib").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0755u);
}

TEST_F(StoreTest, CreateKeyOpensAnExistingKeyAndKeepsItsValues) {
  ASSERT_EQ(Put(u"Orvanel", u"", u"Orvanel"), Status::Ok);
  registry::Key key;
  ASSERT_EQ(registry::CreateKey(u"Orvanel", key), Status::Ok);
  EXPECT_EQ(Get(u"Orvanel", u""), SzBytes(u"Orvanel"));
}

TEST_F(StoreTest, KeyAndValueNamesCompareWithoutCase) {
  struct Case {
    Text written, lookedUp;
    bool same;
  };
  const Case cases[] = {
      {u"OpenWithProgids", u"openwithprogids", true},
      {u"Ärger", u"äRGER", true},              // Latin-1 letters
      {u"ÆØÅ", u"æøå", true},
      {u"Σίσυφος", u"ΣΊΣΥΦΟΣ", true},          // Greek, with accents
      {u"Жук", u"жУК", true},                  // Cyrillic
      {u"Ǆ", u"ǆ", true},                     // title-case pairs
      {u"a", u"b", false},
      {u"ss", u"ß", false},                    // no multi-letter folding, as in Windows
      {u"a", u"a ", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.written) + " / " + WideToUtf8(c.lookedUp));
    const Text parent = u"names\\" + c.written;
    ASSERT_EQ(Put(parent, c.written, u"x"), Status::Ok);
    EXPECT_EQ(KeyExists(u"names\\" + c.lookedUp), c.same);
    EXPECT_EQ(Get(parent, c.lookedUp).has_value(), c.same);
    ASSERT_EQ(registry::DeleteKey(parent), Status::Ok);
  }
}

// Sub-keys come back in the order of their upper-cased UTF-16 code units, as
// Windows lists them, with every code unit kept: one, two and three bytes long in
// the store, a surrogate pair (before U+E000 in UTF-16, after it as a code point)
// and a lone surrogate.
TEST_F(StoreTest, SubkeysAreListedInCodeUnitOrderWithEveryUnitKept) {
  const std::vector<Text> ordered = {
      u"A",           u"b",       Text(u"c\0d", 3), u"\u007F", u"\u0080", u"\u07FF",
      u"\u0800",      u"\U0001F600", Text(1, u'\xDC00'), u"\uE000",   u"\uFFFD",
  };
  for (auto it = ordered.rbegin(); it != ordered.rend(); ++it) {
    registry::Key key;
    ASSERT_EQ(registry::CreateKey(u"order\\" + *it, key), Status::Ok) << WideToUtf8(*it);
  }
  registry::Key key;
  ASSERT_EQ(registry::OpenKey(u"order", Access::Read, key), Status::Ok);
  std::vector<Text> subkeys;
  ASSERT_EQ(registry::ListSubkeys(key, subkeys), Status::Ok);
  EXPECT_EQ(subkeys, ordered);
}

TEST_F(StoreTest, NamesKeepTheSpellingTheyWereCreatedWith) {
  ASSERT_EQ(Put(u"Ärger\\Sub", u"Private", u"1"), Status::Ok);
  ASSERT_EQ(Put(u"ärger\\SUB", u"PRIVATE", u"0"), Status::Ok);

  registry::Key key;
  ASSERT_EQ(registry::OpenKey(u"ÄRGER", Access::Read, key), Status::Ok);
  std::vector<Text> subkeys;
  ASSERT_EQ(registry::ListSubkeys(key, subkeys), Status::Ok);
  EXPECT_EQ(subkeys, std::vector<Text>{u"Sub"});

  ASSERT_EQ(registry::OpenKey(u"ärger\\sub", Access::Read, key), Status::Ok);
  std::vector<registry::NamedValue> values;
  ASSERT_EQ(registry::ListValues(key, values), Status::Ok);
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].name, u"Private");
  EXPECT_EQ(values[0].data, SzBytes(u"0"));
}

TEST_F(StoreTest, KeyNamesOfMoreThan255CharactersOrEmptyAreRefused) {
  struct Case {
    Text path;
    Status expected;
  };
  const Text name255(255, u'x');
  const Text name256(256, u'x');
  const Case cases[] = {
      {name255, Status::Ok},
      {Text(255, u'ä'), Status::Ok},
      {u"a\\" + name255, Status::Ok},
      {name256, Status::InvalidName},
      {u"a\\" + name256 + u"\\b", Status::InvalidName},
      {u"a\\\\b", Status::InvalidName},
      {u"\\a", Status::InvalidName},
      {u"a\\", Status::InvalidName},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path.size());
    registry::Key key;
    EXPECT_EQ(registry::CreateKey(c.path, key), c.expected);
    EXPECT_EQ(registry::OpenKey(c.path, Access::Read, key),
              c.expected == Status::Ok ? Status::Ok : Status::InvalidName);
  }
  // Nothing of a refused path was created on the way.
  EXPECT_FALSE(KeyExists(name256));
  registry::Key key;
  ASSERT_EQ(registry::OpenKey(u"a", Access::Read, key), Status::Ok);
  std::vector<Text> subkeys;
  ASSERT_EQ(registry::ListSubkeys(key, subkeys), Status::Ok);
  EXPECT_EQ(subkeys, std::vector<Text>{name255});
}

TEST_F(StoreTest, ValuesKeepTheirTypeAndBytes) {
  registry::Key key;
  ASSERT_EQ(registry::CreateKey(u"Orvanel", key), Status::Ok);
  const uint32_t one = 1;
  const std::string binary("\x00\xff\x10", 3);
  ASSERT_EQ(registry::SetTextValue(key, u"private", u"1"), Status::Ok);
  ASSERT_EQ(registry::SetTextValue(key, u"", u""), Status::Ok);
  ASSERT_EQ(registry::SetValue(key, u"dword", Type::Dword, &one, 4), Status::Ok);
  ASSERT_EQ(registry::SetValue(key, u"binary", Type::Binary, binary.data(), 3), Status::Ok);
  ASSERT_EQ(registry::SetValue(key, u"none", Type::None, nullptr, 0), Status::Ok);
  ASSERT_EQ(registry::SetValue(key, u"odd", static_cast<Type>(0x1234), "ab", 2), Status::Ok);

  struct Case {
    Text name;
    Type type;
    std::string bytes;
  };
  const Case cases[] = {
      {u"private", Type::Sz, std::string("1\0\0\0", 4)},  // REG_SZ "1" is 4 bytes
      {u"", Type::Sz, std::string("\0\0", 2)},
      {u"dword", Type::Dword, std::string("\x01\0\0\0", 4)},
      {u"binary", Type::Binary, binary},
      {u"none", Type::None, std::string()},
      {u"odd", static_cast<Type>(0x1234), "ab"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.name));
    Type type = Type::Link;
    EXPECT_EQ(Get(u"Orvanel", c.name, &type), c.bytes);
    EXPECT_EQ(type, c.type);
  }
}

TEST_F(StoreTest, AValueSetAgainIsReplacedWithItsNewType) {
  registry::Key key;
  ASSERT_EQ(registry::CreateKey(u"k", key), Status::Ok);
  const uint32_t seven = 7;
  ASSERT_EQ(registry::SetTextValue(key, u"v", u"long text"), Status::Ok);
  ASSERT_EQ(registry::SetValue(key, u"V", Type::Dword, &seven, 4), Status::Ok);
  Type type = Type::None;
  EXPECT_EQ(Get(u"k", u"v", &type), std::string("\x07\0\0\0", 4));
  EXPECT_EQ(type, Type::Dword);
  std::vector<registry::NamedValue> values;
  ASSERT_EQ(registry::ListValues(key, values), Status::Ok);
  EXPECT_EQ(values.size(), 1u);
}

TEST_F(StoreTest, QueryTellsTheSizeNeededWhenTheBufferIsTooSmall) {
  registry::Key key;
  ASSERT_EQ(registry::CreateKey(u"k", key), Status::Ok);
  ASSERT_EQ(registry::SetTextValue(key, u"", u"Orvanel"), Status::Ok);  // 16 bytes

  struct Case {
    bool withBuffer;
    uint32_t capacity;
    Status expected;
  };
  for (const Case& c : {Case{true, 15, Status::MoreData}, Case{true, 0, Status::MoreData},
                        Case{true, 16, Status::Ok}, Case{true, 260, Status::Ok},
                        Case{false, 0, Status::Ok}}) {
    SCOPED_TRACE(c.capacity);
    char buffer[260];
    std::memset(buffer, '#', sizeof buffer);
    uint32_t size = c.capacity;
    Type type = Type::None;
    EXPECT_EQ(registry::QueryValue(key, u"", c.withBuffer ? buffer : nullptr, size, &type), c.expected);
    EXPECT_EQ(size, 16u);
    EXPECT_EQ(type, Type::Sz);
    if (c.expected == Status::MoreData) {
      EXPECT_EQ(buffer[0], '#');  // nothing copied
    }
    if (c.withBuffer && c.expected == Status::Ok) {
      EXPECT_EQ(std::string(buffer, 16), SzBytes(u"Orvanel"));
    }
  }
  uint32_t size = 4;
  EXPECT_EQ(registry::QueryValue(key, u"missing", nullptr, size, nullptr), Status::NotFound);
}

TEST_F(StoreTest, NarrowQueryConvertsTextTypesOnly) {
  registry::Key key;
  ASSERT_EQ(registry::CreateKey(u"Orvanel", key), Status::Ok);
  const uint32_t one = 1;
  const Text multi(u"a\0bé\0\0", 6);
  ASSERT_EQ(registry::SetTextValue(key, u"private", u"1"), Status::Ok);
  ASSERT_EQ(registry::SetTextValue(key, u"umlaut", u"Ä1"), Status::Ok);
  ASSERT_EQ(registry::SetValue(key, u"expand", Type::ExpandSz, u"%x%", 8), Status::Ok);
  ASSERT_EQ(registry::SetValue(key, u"multi", Type::MultiSz, multi.data(), 12), Status::Ok);
  ASSERT_EQ(registry::SetValue(key, u"dword", Type::Dword, &one, 4), Status::Ok);

  struct Case {
    std::string name;
    Type type;
    std::string bytes;
  };
  const Case cases[] = {
      {"PRIVATE", Type::Sz, std::string("1\0", 2)},
      {"umlaut", Type::Sz, std::string("\xC3\x84" "1\0", 4)},
      {"expand", Type::ExpandSz, std::string("%x%\0", 4)},
      {"multi", Type::MultiSz, std::string("a\0b\xC3\xA9\0\0", 7)},
      {"dword", Type::Dword, std::string("\x01\0\0\0", 4)},  // not the text "1"
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    char buffer[256];
    uint32_t size = sizeof buffer;
    Type type = Type::None;
    ASSERT_EQ(registry::QueryValueNarrow(key, c.name, buffer, size, &type), Status::Ok);
    EXPECT_EQ(std::string(buffer, size), c.bytes);
    EXPECT_EQ(type, c.type);
  }
  char small[1];
  uint32_t size = sizeof small;
  EXPECT_EQ(registry::QueryValueNarrow(key, "umlaut", small, size, nullptr), Status::MoreData);
  EXPECT_EQ(size, 4u);
  size = 256;
  EXPECT_EQ(registry::QueryValueNarrow(key, "absent", small, size, nullptr), Status::NotFound);
}

TEST_F(StoreTest, AKeyWithSubkeysCannotBeDeleted) {
  ASSERT_EQ(Put(u"Orvanel\\shell\\open\\command", u"", u"cmd"), Status::Ok);
  ASSERT_EQ(Put(u"Orvanel", u"private", u"1"), Status::Ok);

  EXPECT_EQ(registry::DeleteKey(u"Orvanel"), Status::HasSubkeys);
  EXPECT_EQ(registry::DeleteKey(u"orvanel\\SHELL"), Status::HasSubkeys);
  EXPECT_EQ(Get(u"Orvanel", u"private"), SzBytes(u"1"));

  // Deepest first, as unregistration does.
  for (const char16_t* path : {u"Orvanel\\shell\\open\\command", u"Orvanel\\shell\\open",
                           u"Orvanel\\shell", u"Orvanel"})
    EXPECT_EQ(registry::DeleteKey(path), Status::Ok) << WideToUtf8(path);
  EXPECT_FALSE(KeyExists(u"Orvanel"));
  EXPECT_EQ(registry::DeleteKey(u"Orvanel"), Status::NotFound);
  EXPECT_EQ(registry::DeleteKey(u""), Status::InvalidName);

  // Its values went with it.
  registry::Key key;
  ASSERT_EQ(registry::CreateKey(u"Orvanel", key), Status::Ok);
  EXPECT_EQ(Get(u"Orvanel", u"private"), std::nullopt);
}

TEST_F(StoreTest, DeleteValueRemovesOnlyThatValue) {
  registry::Key key;
  ASSERT_EQ(registry::CreateKey(u".xyz\\OpenWithProgids", key), Status::Ok);
  ASSERT_EQ(registry::SetTextValue(key, u"Orvanel", u""), Status::Ok);
  ASSERT_EQ(registry::SetTextValue(key, u"", u"default"), Status::Ok);
  EXPECT_EQ(registry::DeleteValue(key, u"ORVANEL"), Status::Ok);
  EXPECT_EQ(registry::DeleteValue(key, u"Orvanel"), Status::NotFound);
  EXPECT_EQ(Get(u".xyz\\OpenWithProgids", u"Orvanel"), std::nullopt);
  EXPECT_EQ(Get(u".xyz\\OpenWithProgids", u""), SzBytes(u"default"));
}

TEST_F(StoreTest, AKeyOnlyAllowsWhatItWasOpenedFor) {
  ASSERT_EQ(Put(u"Orvanel", u"private", u"0"), Status::Ok);
  registry::Key reader, writer, both;
  ASSERT_EQ(registry::OpenKey(u"Orvanel", Access::Read, reader), Status::Ok);
  ASSERT_EQ(registry::OpenKey(u"Orvanel", Access::Write, writer), Status::Ok);
  ASSERT_EQ(registry::OpenKey(u"Orvanel", Access::ReadWrite, both), Status::Ok);
  char buffer[16];
  uint32_t size = sizeof buffer;

  EXPECT_EQ(registry::SetTextValue(reader, u"private", u"1"), Status::AccessDenied);
  EXPECT_EQ(registry::DeleteValue(reader, u"private"), Status::AccessDenied);
  EXPECT_EQ(registry::QueryValue(writer, u"private", buffer, size, nullptr), Status::AccessDenied);
  EXPECT_EQ(registry::QueryValueNarrow(writer, "private", buffer, size, nullptr), Status::AccessDenied);
  EXPECT_EQ(registry::SetTextValue(writer, u"private", u"1"), Status::Ok);
  EXPECT_EQ(registry::QueryValue(both, u"private", buffer, size, nullptr), Status::Ok);
  EXPECT_EQ(registry::SetTextValue(both, u"private", u"0"), Status::Ok);

  registry::Key closed;
  EXPECT_EQ(registry::QueryValue(closed, u"private", buffer, size, nullptr), Status::Failed);
  EXPECT_EQ(registry::SetTextValue(closed, u"private", u"1"), Status::Failed);
}

TEST_F(StoreTest, AKeyDeletedWhileOpenTakesNoMoreValues) {
  ASSERT_EQ(Put(u"gone", u"v", u"1"), Status::Ok);
  registry::Key key;
  ASSERT_EQ(registry::OpenKey(u"gone", Access::ReadWrite, key), Status::Ok);
  ASSERT_EQ(registry::DeleteKey(u"gone"), Status::Ok);
  ASSERT_EQ(Put(u"new", u"v", u"2"), Status::Ok);  // may take the next key number
  char buffer[16];
  uint32_t size = sizeof buffer;
  EXPECT_EQ(registry::SetTextValue(key, u"v", u"3"), Status::NotFound);
  EXPECT_EQ(registry::QueryValue(key, u"v", buffer, size, nullptr), Status::NotFound);
  EXPECT_EQ(Get(u"new", u"v"), SzBytes(u"2"));
  EXPECT_FALSE(KeyExists(u"gone"));
}

TEST_F(StoreTest, KeysBelowAnOpenKeyAreCreatedAndOpenedAsTheirFullPathsAre) {
  registry::Key extension;
  ASSERT_EQ(registry::CreateKey(u".ext", extension), Status::Ok);
  registry::Key deep;
  ASSERT_EQ(registry::CreateKey(extension, u"OpenWithProgids\\deep", deep), Status::Ok);
  ASSERT_EQ(registry::SetTextValue(deep, u"", u"below"), Status::Ok);
  EXPECT_EQ(Get(u".EXT\\openwithprogids\\DEEP", u""), SzBytes(u"below"));

  registry::Key found;
  EXPECT_EQ(registry::OpenKey(extension, u"OPENWITHPROGIDS\\Deep", Access::Read, found), Status::Ok);
  EXPECT_EQ(registry::OpenKey(extension, u"missing", Access::Read, found), Status::NotFound);
  EXPECT_FALSE(found.IsOpen());
  EXPECT_EQ(registry::CreateKey(extension, u"a\\\\b", found), Status::InvalidName);
  EXPECT_EQ(registry::OpenKey(extension, u"\\a", Access::Read, found), Status::InvalidName);
  EXPECT_FALSE(KeyExists(u".ext\\a"));

  // Creating below a key is not bound by the access it was opened with.
  registry::Key readOnly;
  ASSERT_EQ(registry::OpenKey(u".ext", Access::Read, readOnly), Status::Ok);
  EXPECT_EQ(registry::CreateKey(readOnly, u"fromReadOnly", found), Status::Ok);
  EXPECT_TRUE(KeyExists(u".ext\\fromReadOnly"));

  // The new key may take the parent's place.
  ASSERT_EQ(registry::CreateKey(extension, u"alias", extension), Status::Ok);
  ASSERT_EQ(registry::SetTextValue(extension, u"", u"in alias"), Status::Ok);
  EXPECT_EQ(Get(u".ext\\alias", u""), SzBytes(u"in alias"));
  // And an empty path opens the key itself.
  ASSERT_EQ(registry::OpenKey(extension, u"", Access::Read, extension), Status::Ok);
  uint32_t size = 0;
  EXPECT_EQ(registry::QueryValue(extension, u"", nullptr, size, nullptr), Status::Ok);
  EXPECT_EQ(size, SzBytes(u"in alias").size());
}

TEST_F(StoreTest, BelowADeletedKeyNothingIsCreatedOrFound) {
  for (const bool grouped : {false, true}) {
    SCOPED_TRACE(grouped ? "in a write group" : "alone");
    std::optional<registry::WriteGroup> group;
    if (grouped) group.emplace();
    registry::Key parent;
    ASSERT_EQ(registry::CreateKey(u"gone", parent), Status::Ok);
    ASSERT_EQ(registry::DeleteKey(u"gone"), Status::Ok);
    registry::Key child;
    EXPECT_EQ(registry::CreateKey(parent, u"child", child), Status::NotFound);
    EXPECT_EQ(registry::OpenKey(parent, u"", Access::Read, child), Status::NotFound);
    EXPECT_EQ(registry::OpenKey(parent, u"child", Access::Read, child), Status::NotFound);
    EXPECT_FALSE(KeyExists(u"gone"));
    group.reset();
    // Nothing was left behind under the deleted key's number either.
    registry::Key again;
    ASSERT_EQ(registry::CreateKey(u"gone", again), Status::Ok);
    std::vector<Text> subkeys;
    ASSERT_EQ(registry::ListSubkeys(again, subkeys), Status::Ok);
    EXPECT_TRUE(subkeys.empty());
    ASSERT_EQ(registry::DeleteKey(u"gone"), Status::Ok);
  }
}

TEST_F(StoreTest, MovedKeysCloseTheirHandleOnce) {
  registry::Key first;
  ASSERT_EQ(registry::CreateKey(u"a", first), Status::Ok);
  registry::Key second(std::move(first));
  EXPECT_FALSE(first.IsOpen());
  registry::Key third;
  ASSERT_EQ(registry::CreateKey(u"b", third), Status::Ok);
  third = std::move(second);  // b's handle is closed, a's moves in
  EXPECT_TRUE(third.IsOpen());
  EXPECT_EQ(registry::SetTextValue(third, u"", u"in a"), Status::Ok);
  EXPECT_EQ(Get(u"a", u""), SzBytes(u"in a"));
  third.Reset();
  EXPECT_FALSE(third.IsOpen());
}

TEST_F(StoreTest, ChangingTheStoreSettingSwitchesStores) {
  ASSERT_EQ(Put(u"first", u"", u"1"), Status::Ok);
  {
    ScopedEnv other("ORVANEL_REGISTRY", dir / "other.db");
    EXPECT_FALSE(KeyExists(u"first"));
    ASSERT_EQ(Put(u"second", u"", u"2"), Status::Ok);
  }
  EXPECT_TRUE(KeyExists(u"first"));
  EXPECT_FALSE(KeyExists(u"second"));
}

// What another process sees of the store while this one holds a write group.
bool SeenFromAnotherProcess(const Text& path) {
  return RunInChild([&] {
           registry::Key key;
           return registry::OpenKey(path, Access::Read, key) == Status::Ok ? 1 : 0;
         }) == 1;
}

TEST_F(StoreTest, AWriteGroupIsWrittenAtOnceWhenTheOutermostGroupEnds) {
  ASSERT_EQ(Put(u"before", u"", u""), Status::Ok);
  {
    registry::WriteGroup outer;
    {
      registry::WriteGroup inner;
      ASSERT_EQ(Put(u".a", u"", u"Orvanel"), Status::Ok);
      EXPECT_TRUE(KeyExists(u".a"));  // this process sees its own writes at once
    }
    ASSERT_EQ(Put(u".b", u"", u"Orvanel"), Status::Ok);
    EXPECT_TRUE(SeenFromAnotherProcess(u"before"));
    EXPECT_FALSE(SeenFromAnotherProcess(u".a"));
    EXPECT_FALSE(SeenFromAnotherProcess(u".b"));
  }
  EXPECT_TRUE(SeenFromAnotherProcess(u".a"));
  EXPECT_TRUE(SeenFromAnotherProcess(u".b"));
}

TEST_F(StoreTest, InsideAWriteGroupKeysDeletedAndCreatedAgainAreSeenAsTheyAre) {
  registry::WriteGroup group;
  registry::Key missing;
  EXPECT_EQ(registry::OpenKey(u".e1", Access::ReadWrite, missing), Status::NotFound);
  registry::Key first;
  ASSERT_EQ(registry::CreateKey(u".e1\\OpenWithProgids", first), Status::Ok);
  ASSERT_EQ(registry::SetTextValue(first, u"Orvanel", u""), Status::Ok);
  EXPECT_TRUE(KeyExists(u".E1"));

  ASSERT_EQ(registry::DeleteKey(u".e1\\OpenWithProgids"), Status::Ok);
  EXPECT_FALSE(KeyExists(u".e1\\OpenWithProgids"));
  EXPECT_EQ(registry::SetTextValue(first, u"Orvanel", u""), Status::NotFound);  // deleted

  registry::Key second;
  ASSERT_EQ(registry::CreateKey(u".e1\\openwithprogids", second), Status::Ok);
  EXPECT_EQ(registry::SetTextValue(first, u"Orvanel", u""), Status::NotFound);
  ASSERT_EQ(registry::SetTextValue(second, u"Orvanel", u"again"), Status::Ok);
  EXPECT_EQ(Get(u".e1\\OpenWithProgids", u"orvanel"), SzBytes(u"again"));
  ASSERT_EQ(registry::DeleteKey(u".e1\\OpenWithProgids"), Status::Ok);
  ASSERT_EQ(registry::DeleteKey(u".e1"), Status::Ok);
  EXPECT_EQ(registry::OpenKey(u".e1", Access::Read, missing), Status::NotFound);
}

TEST_F(StoreTest, AWriteGroupThatWritesNothingCreatesNothing) {
  {
    registry::WriteGroup group;
    EXPECT_FALSE(KeyExists(u"x"));
  }
  EXPECT_FALSE(FileExists(storePath));
}

}  // namespace
}  // namespace orvanel::test
