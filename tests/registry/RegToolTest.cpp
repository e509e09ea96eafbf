// orvanel-reg run as a program: what it prints, what it writes, how it fails.
#include <sys/stat.h>

#include <algorithm>
#include <vector>

#include "RegistryFixture.h"
#include "platform/Registry.h"

namespace orvanel::test {
namespace {

using registry::Access;
using registry::Type;

constexpr const char* kMissing =
    "ERROR: The system was unable to find the specified registry key or value.\n";

class RegToolTest : public RegistryFixture {
 protected:
  RunResult Reg(const std::vector<std::string>& arguments, const std::string& input = "",
                const std::string& store = "", std::optional<unsigned> user = std::nullopt) {
    std::vector<std::string> argv{ProgramPath("orvanel-reg")};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    RunOptions options;
    options.input = input;
    options.env["ORVANEL_REGISTRY"] = store.empty() ? storePath : store;
    options.runAsUser = user;
    return test::Run(argv, options);
  }

  static void Set(const Text& path, const Text& name, Type type, const std::string& bytes) {
    registry::Key key;
    ASSERT_EQ(registry::CreateKey(path, key), Status::Ok);
    ASSERT_EQ(registry::SetValue(key, name, type, bytes.data(), static_cast<uint32_t>(bytes.size())),
              Status::Ok);
  }

  static std::vector<registry::NamedValue> Values(const Text& path) {
    registry::Key key;
    std::vector<registry::NamedValue> values;
    if (registry::OpenKey(path, Access::Read, key) == Status::Ok) registry::ListValues(key, values);
    return values;
  }
};

TEST_F(RegToolTest, ExportWritesRegTextInCaseInsensitiveDepthFirstOrder) {
  Set(u"b", u"Zeta", Type::Sz, SzBytes(u"z"));
  Set(u"b", u"", Type::Sz, SzBytes(u"default"));
  Set(u"b", u"alpha", Type::Dword, std::string("\x2a\0\0\0", 4));
  Set(u"B\\child", u"q\"uote\\", Type::Sz, SzBytes(u"C:\\\"x\"\r\nnext"));
  Set(u"A", u"bin", Type::Binary, std::string("\x00\x01\xfe", 3));
  Set(u"a\\Ä", u"odd", Type::Sz, std::string("x\0y", 3));   // not a whole string
  Set(u"a\\Ä", u"none", Type::None, "");
  Set(u"a\\Ä", u"long", static_cast<Type>(0x1234), std::string(30, '\x11'));
  Set(u".txt", u"", Type::Sz, SzBytes(u"Orvanel"));

  const RunResult result = Reg({"export"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out,
            "Windows Registry Editor Version 5.00\n"
            "\n"
            "[HKEY_CLASSES_ROOT]\n"
            "\n"
            "[HKEY_CLASSES_ROOT\\.txt]\n"
            "@=\"Orvanel\"\n"
            "\n"
            "[HKEY_CLASSES_ROOT\\A]\n"
            "\"bin\"=hex:00,01,fe\n"
            "\n"
            "[HKEY_CLASSES_ROOT\\A\\Ä]\n"
            "\"long\"=hex(1234):11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,\\\n"
            "  11,11,11,11,11,11,11,11,11,11\n"
            "\"none\"=hex(0):\n"
            "\"odd\"=hex(1):78,00,79\n"
            "\n"
            "[HKEY_CLASSES_ROOT\\b]\n"
            "@=\"default\"\n"
            "\"alpha\"=dword:0000002a\n"
            "\"Zeta\"=\"z\"\n"
            "\n"
            "[HKEY_CLASSES_ROOT\\b\\child]\n"
            "\"q\\\"uote\\\\\"=\"C:\\\\\\\"x\\\"\\r\\nnext\"\n"
            "\n");
  EXPECT_EQ(result.err, "");

  const RunResult subtree = Reg({"export", "hkcr\\B"});
  ASSERT_EQ(subtree.exitCode, 0);
  EXPECT_EQ(subtree.out.find("[HKEY_CLASSES_ROOT\\A]"), std::string::npos);
  EXPECT_NE(subtree.out.find("[HKEY_CLASSES_ROOT\\B\\child]"), std::string::npos);
}

TEST_F(RegToolTest, ImportOfAnExportRebuildsTheSameStore) {
  // Everything that must survive: non-ASCII names and data, strings that are not
  // whole strings, every type, and names that need escaping.
  const Text surrogate(1, static_cast<char16_t>(0xD800));
  Set(u"Ärger\\日本\\Ωmega", u"Näme \"q\" = @", Type::Sz, SzBytes(u"dåta ✓ \\ \"\r\n"));
  Set(u"Ärger", u"", Type::Sz, SzBytes(u""));
  Set(u"Ärger", u"@", Type::ExpandSz, SzBytes(u"%SystemRoot%"));
  Set(u"odd [name]", u"no null", Type::Sz, ToUtf16Le(u"abc"));
  Set(u"odd [name]", u"odd size", Type::Sz, std::string("abc", 3));
  Set(u"odd [name]", u"inner null", Type::Sz, SzBytes(Text(u"a\0b", 3)));
  Set(u"odd [name]", u"surrogate", Type::Sz, SzBytes(surrogate));
  Set(u"odd [name]", u"empty", Type::Sz, "");
  Set(u"types", u"dword", Type::Dword, std::string("\x01\x02\x03\x04", 4));
  Set(u"types", u"short dword", Type::Dword, std::string("\x01", 1));
  Set(u"types", u"qword", Type::Qword, std::string("12345678", 8));
  Set(u"types", u"multi", Type::MultiSz, SzBytes(Text(u"a\0b\0", 4)));
  Set(u"types", u"big", Type::Binary, std::string(300, '\xab'));
  Set(u"types", u"unknown", static_cast<Type>(0xdeadbeef), "xyz");
  {
    registry::Key key;
    ASSERT_EQ(registry::CreateKey(u"empty\\key", key), Status::Ok);
  }

  const RunResult exported = Reg({"export"});
  ASSERT_EQ(exported.exitCode, 0) << exported.err;
  const std::string file = dir / "store.reg";
  WriteFile(file, exported.out);
  const std::string crlfFile = dir / "crlf.reg";
  std::string crlf;
  for (char c : exported.out) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  WriteFile(crlfFile, crlf);

  for (const std::string& source : {file, crlfFile}) {
    SCOPED_TRACE(source);
    const std::string other = dir / (source == file ? "lf.db" : "crlf.db");
    const RunResult imported = Reg({"import", source}, "", other);
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_EQ(imported.out, "The operation completed successfully.\n");
    EXPECT_EQ(Reg({"export"}, "", other).out, exported.out);

    // And the bytes themselves, not only their text.
    ScopedEnv otherStore("ORVANEL_REGISTRY", other);
    const auto values = Values(u"odd [name]");
    ASSERT_EQ(values.size(), 5u);
    EXPECT_EQ(values[0].data, "");
    EXPECT_EQ(values[1].data, SzBytes(Text(u"a\0b", 3)));
    EXPECT_EQ(values[2].data, ToUtf16Le(u"abc"));
    EXPECT_EQ(values[3].data, "abc");
    EXPECT_EQ(values[4].data, SzBytes(surrogate));
    EXPECT_EQ(Values(u"ÄRGER\\日本\\ΩMEGA").at(0).name, u"Näme \"q\" = @");
  }
}

TEST_F(RegToolTest, ExportToAFileAndImportAcceptWhatWindowsWrites) {
  Set(u".xyz", u"", Type::Sz, SzBytes(u"Orvanel"));
  const std::string file = dir / "out.reg";
  const RunResult exported = Reg({"export", "HKEY_CLASSES_ROOT\\.xyz", file});
  ASSERT_EQ(exported.exitCode, 0) << exported.err;
  EXPECT_EQ(ReadFile(file),
            "Windows Registry Editor Version 5.00\n\n[HKEY_CLASSES_ROOT\\.xyz]\n@=\"Orvanel\"\n\n");
  // An existing file is kept unless the user agrees or gave /y.
  EXPECT_EQ(Reg({"export", file}, "n\n").exitCode, 1);
  EXPECT_EQ(ReadFile(file).find("[HKEY_CLASSES_ROOT]"), std::string::npos);
  EXPECT_EQ(Reg({"export", file, "/y"}).exitCode, 0);
  EXPECT_NE(ReadFile(file).find("[HKEY_CLASSES_ROOT]"), std::string::npos);

  // UTF-16LE with a byte order mark and CR LF, as regedit writes it.
  const Text windows =
      u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CLASSES_ROOT\\.abc]\r\n@=\"Orvanel\"\r\n"
      u"\"n\"=hex(2):25,00,00,00\r\n\r\n";
  WriteFile(dir / "windows.reg", "\xFF\xFE" + ToUtf16Le(windows));
  ASSERT_EQ(Reg({"import", dir / "windows.reg"}).exitCode, 0);
  EXPECT_EQ(Get(u".abc", u""), SzBytes(u"Orvanel"));
  Type type = Type::None;
  EXPECT_EQ(Get(u".abc", u"n", &type), std::string("%\0\0\0", 4));
  EXPECT_EQ(type, Type::ExpandSz);
}

TEST_F(RegToolTest, ABrokenImportFileWritesNothing) {
  struct Case {
    std::string text, error;
  };
  const std::string header = "Windows Registry Editor Version 5.00\n\n";
  const Case cases[] = {
      {"REGEDIT4\n\n[HKEY_CLASSES_ROOT\\a]\n", "line 1: the first line must be"},
      {header + "\"v\"=\"x\"\n", "line 3: a value before the first key"},
      {header + "[HKEY_LOCAL_MACHINE\\a]\n", "line 3: not a key of HKEY_CLASSES_ROOT"},
      {header + "[HKEY_CLASSES_ROOT\\a]\n\"v\"=\"open\n", "line 4: the string has no closing quote"},
      {header + "[HKEY_CLASSES_ROOT\\a]\n\"v\"=dword:123456789\n", "line 4: dword: needs"},
      {header + "[HKEY_CLASSES_ROOT\\a]\n\"v\"=hex:1,2g\n", "line 4: hex lists are bytes"},
      {header + "[HKEY_CLASSES_ROOT\\a]\n\"v\"=hex:01,\\\n", "line 4: the hex list ends"},
      {header + "[HKEY_CLASSES_ROOT\\a]\n\"v\"=-\n", "line 4: deleting values is not supported"},
      {header + "[-HKEY_CLASSES_ROOT\\a]\n", "line 3: deleting keys is not supported"},
      {header + "[HKEY_CLASSES_ROOT\\a]\nv=1\n", "line 4: neither a key nor a value"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error);
    WriteFile(dir / "bad.reg", c.text);
    const RunResult result = Reg({"import", dir / "bad.reg"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("ERROR: " + (dir / "bad.reg") + ", " + c.error), std::string::npos)
        << result.err;
  }
  EXPECT_FALSE(FileExists(storePath));
  EXPECT_EQ(Reg({"import", dir / "absent.reg"}).err,
            "ERROR: Unable to open the file " + (dir / "absent.reg") + ".\n");
}

TEST_F(RegToolTest, QueryShowsValuesAndSubkeysLikeRegExe) {
  Set(u".txt", u"", Type::Sz, SzBytes(u"Orvanel"));
  Set(u".txt", u"Flags", Type::Dword, std::string("\x10\0\0\0", 4));
  Set(u".txt", u"Raw", Type::Binary, std::string("\x0a\xff", 2));
  Set(u".txt", u"List", Type::MultiSz, SzBytes(Text(u"a\0b\0", 4)));
  Set(u".txt\\OpenWithProgids", u"Orvanel", Type::Sz, SzBytes(u""));

  const RunResult all = Reg({"query", "HKCR\\.TXT"});
  EXPECT_EQ(all.exitCode, 0);
  EXPECT_EQ(all.out,
            "\nHKEY_CLASSES_ROOT\\.TXT\n"
            "    (Default)    REG_SZ    Orvanel\n"
            "    Flags    REG_DWORD    0x10\n"
            "    List    REG_MULTI_SZ    a\\0b\n"
            "    Raw    REG_BINARY    0AFF\n"
            "\n"
            "HKEY_CLASSES_ROOT\\.TXT\\OpenWithProgids\n");
  const RunResult one = Reg({"query", "HKCR\\.txt", "/v", "flags"});
  EXPECT_EQ(one.out, "\nHKEY_CLASSES_ROOT\\.txt\n    flags    REG_DWORD    0x10\n\n");
  EXPECT_EQ(Reg({"query", "HKCR\\.txt", "/ve"}).out,
            "\nHKEY_CLASSES_ROOT\\.txt\n    (Default)    REG_SZ    Orvanel\n\n");

  for (const std::vector<std::string>& missing :
       {std::vector<std::string>{"query", "HKCR\\.none"}, {"query", "HKCR\\.txt", "/v", "none"},
        {"query", "HKCR\\.txt\\OpenWithProgids", "/ve"}}) {
    const RunResult result = Reg(missing);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, kMissing);
  }
}

TEST_F(RegToolTest, AddStoresEachTypeAsWindowsDoes) {
  struct Case {
    std::vector<std::string> typeAndData;
    Type type;
    std::string bytes;
  };
  const Case cases[] = {
      {{"/d", "Orvanel"}, Type::Sz, SzBytes(u"Orvanel")},
      {{}, Type::Sz, SzBytes(u"")},
      {{"/t", "REG_EXPAND_SZ", "/d", "%x%"}, Type::ExpandSz, SzBytes(u"%x%")},
      {{"/t", "reg_multi_sz", "/d", "a\\0bé"}, Type::MultiSz, SzBytes(Text(u"a\0bé\0", 5))},
      {{"/t", "REG_DWORD", "/d", "0x10"}, Type::Dword, std::string("\x10\0\0\0", 4)},
      {{"/t", "REG_DWORD", "/d", "4294967295"}, Type::Dword, std::string(4, '\xff')},
      {{"/t", "REG_DWORD_BIG_ENDIAN", "/d", "1"}, Type::DwordBigEndian, std::string("\0\0\0\x01", 4)},
      {{"/t", "REG_QWORD", "/d", "0x100000000"}, Type::Qword, std::string("\0\0\0\0\x01\0\0\0", 8)},
      {{"/t", "REG_BINARY", "/d", "0aFF"}, Type::Binary, std::string("\x0a\xff", 2)},
      {{"/t", "REG_NONE"}, Type::None, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.typeAndData));
    std::vector<std::string> arguments{"add", "HKCR\\Ärger", "/v", "välue", "/f"};
    arguments.insert(arguments.end(), c.typeAndData.begin(), c.typeAndData.end());
    const RunResult result = Reg(arguments);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "The operation completed successfully.\n");
    Type type = Type::Link;
    EXPECT_EQ(Get(u"ärger", u"VÄLUE", &type), c.bytes);
    EXPECT_EQ(type, c.type);
  }
  ASSERT_EQ(Reg({"add", "HKCR\\a\\b\\c"}).exitCode, 0);  // only the keys
  EXPECT_TRUE(KeyExists(u"a\\b\\c"));
  EXPECT_TRUE(Values(u"a\\b\\c").empty());
  ASSERT_EQ(Reg({"add", "HKCR\\a", "/d", "default"}).exitCode, 0);
  EXPECT_EQ(Get(u"a", u""), SzBytes(u"default"));
}

TEST_F(RegToolTest, AddAsksBeforeOverwritingAValue) {
  ASSERT_EQ(Reg({"add", "HKCR\\Orvanel", "/v", "private", "/d", "1"}).exitCode, 0);
  const RunResult refused = Reg({"add", "HKCR\\Orvanel", "/v", "private", "/d", "0"}, "no\n");
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(refused.out, "Value private exists, overwrite (Yes/No)? \nThe operation was cancelled.\n");
  EXPECT_EQ(Get(u"Orvanel", u"private"), SzBytes(u"1"));
  EXPECT_EQ(Reg({"add", "HKCR\\Orvanel", "/v", "private", "/d", "0"}, "").exitCode, 1);  // no answer
  EXPECT_EQ(Reg({"add", "HKCR\\Orvanel", "/v", "private", "/d", "0"}, "Yes\n").exitCode, 0);
  EXPECT_EQ(Get(u"Orvanel", u"private"), SzBytes(u"0"));
}

TEST_F(RegToolTest, DeleteRemovesAWholeSubtreeOrSingleValues) {
  Set(u"Orvanel\\shell\\open\\command", u"", Type::Sz, SzBytes(u"cmd"));
  Set(u"Orvanel\\DefaultIcon", u"", Type::Sz, SzBytes(u"icon"));
  Set(u"Orvanel", u"private", Type::Sz, SzBytes(u"1"));
  Set(u"Orvanel", u"", Type::Sz, SzBytes(u"Orvanel"));
  Set(u"Orvanel", u"other", Type::Sz, SzBytes(u"x"));
  Set(u"Orvanelle", u"", Type::Sz, SzBytes(u"neighbour"));

  EXPECT_EQ(Reg({"delete", "HKCR\\Orvanel", "/v", "PRIVATE", "/f"}).exitCode, 0);
  EXPECT_EQ(Get(u"Orvanel", u"private"), std::nullopt);
  EXPECT_EQ(Reg({"delete", "HKCR\\Orvanel", "/v", "private", "/f"}).err, kMissing);
  EXPECT_EQ(Reg({"delete", "HKCR\\Orvanel", "/ve", "/f"}).exitCode, 0);
  EXPECT_EQ(Values(u"Orvanel").size(), 1u);
  EXPECT_EQ(Reg({"delete", "HKCR\\Orvanel", "/va", "/f"}).exitCode, 0);
  EXPECT_TRUE(Values(u"Orvanel").empty());

  const RunResult refused = Reg({"delete", "HKCR\\Orvanel"}, "n\n");
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(refused.out,
            "Permanently delete the registry key HKEY_CLASSES_ROOT\\Orvanel (Yes/No)? \n"
            "The operation was cancelled.\n");
  EXPECT_TRUE(KeyExists(u"Orvanel\\shell\\open\\command"));
  const RunResult deleted = Reg({"delete", "HKCR\\orvanel"}, "y\n");
  EXPECT_EQ(deleted.exitCode, 0) << deleted.err;
  EXPECT_FALSE(KeyExists(u"Orvanel"));
  EXPECT_EQ(Get(u"Orvanelle", u""), SzBytes(u"neighbour"));

  EXPECT_EQ(Reg({"delete", "HKCR\\Orvanel", "/f"}).err, kMissing);
  EXPECT_EQ(Reg({"delete", "HKCR", "/f"}).exitCode, 1);
  EXPECT_TRUE(KeyExists(u"Orvanelle"));
}

TEST_F(RegToolTest, BadArgumentsAreRefusedWithExitCode1) {
  const std::vector<std::string> cases[] = {
      {},
      {"list"},
      {"query"},
      {"query", "HKCR\\a", "HKCR\\b"},
      {"query", "HKLM\\Software"},
      {"query", "HKCR\\a", "/v"},
      {"query", "HKCR\\a", "/f"},
      {"add", "HKCR\\a", "/v", "x", "/ve"},
      {"add", "HKCR\\a", "/t", "REG_WHATEVER"},
      {"add", "HKCR\\a", "/t", "REG_DWORD", "/d", "4294967296"},
      {"add", "HKCR\\a", "/t", "REG_DWORD", "/d", "12abc"},
      {"add", "HKCR\\a", "/t", "REG_BINARY", "/d", "abc"},
      {"add", "HKCR\\" + std::string(256, 'x')},
      {"add", "HKCR\\a\\\\b"},
      {"export", "HKCR\\a", "b.reg", "c.reg"},
      {"import"},
  };
  for (const auto& arguments : cases) {
    SCOPED_TRACE(testing::PrintToString(arguments));
    const RunResult result = Reg(arguments);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err.rfind("ERROR: ", 0), 0u) << result.err;
    EXPECT_EQ(result.out, "");
  }
  EXPECT_FALSE(FileExists(storePath));
  EXPECT_EQ(Reg({"/?"}).exitCode, 0);
}

TEST_F(RegToolTest, AStoreThatIsNoStoreIsReportedAndKept) {
  ASSERT_EQ(mkdir((dir / "lib").c_str(), 0755), 0);
  const std::string text(5000, 'x');
  WriteFile(storePath, text);
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"query", "HKCR\\a"}, {"add", "HKCR\\a", "/ve", "/f"}, {"export"}}) {
    const RunResult result = Reg(arguments);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "orvanel: registry store " + storePath +
                              ": file is not a database\n"
                              "ERROR: The registry store could not be read or written.\n");
  }
  EXPECT_EQ(ReadFile(storePath), text);
}

TEST_F(RegToolTest, OtherUsersReadARootStoreButCannotChangeIt) {
  chmod(dir.path().c_str(), 0755);
  Set(u"Orvanel", u"private", Type::Sz, SzBytes(u"1"));
  const std::string before = ReadFile(storePath);
  const RunResult read = Reg({"query", "HKCR\\Orvanel", "/v", "private"}, "", "", 65534);
  EXPECT_EQ(read.exitCode, 0) << read.err;
  EXPECT_EQ(read.out, "\nHKEY_CLASSES_ROOT\\Orvanel\n    private    REG_SZ    1\n\n");
  EXPECT_EQ(Reg({"export"}, "", "", 65534).exitCode, 0);
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"add", "HKCR\\Orvanel", "/v", "private", "/d", "0", "/f"},
        {"delete", "HKCR\\Orvanel", "/f"}}) {
    const RunResult denied = Reg(arguments, "", "", 65534);
    EXPECT_EQ(denied.exitCode, 1);
    EXPECT_EQ(denied.err, "ERROR: Access is denied.\n");
  }
  EXPECT_EQ(ReadFile(storePath), before);
}

}  // namespace
}  // namespace orvanel::test
