// The machine identifier over the real adapter list and digest library. The
// expected digests were computed outside this code base (md5sum).
#include <gtest/gtest.h>

#include <dirent.h>

#include <climits>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>

#include "CaseName.h"
#include "online/MachineId.h"
#include "platform/Digest.h"
#include "platform/Network.h"

namespace orvanel::test {
namespace {

using Address = std::array<uint8_t, 6>;

std::string Hex(const std::array<uint8_t, 16>& digest) {
  std::string text;
  char pair[3];
  for (uint8_t byte : digest) {
    std::snprintf(pair, sizeof pair, "%02x", byte);
    text += pair;
  }
  return text;
}

bool IsIdentifierForm(const Text& id) {
  if (id.size() != 32) return false;
  for (char16_t c : id)
    if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f'))) return false;
  return true;
}

struct DigestCase {
  const char* name;
  const char* input;
  const char* md5;
};

class Md5Test : public ::testing::TestWithParam<DigestCase> {};

TEST_P(Md5Test, MatchesTheReferenceDigest) {
  EXPECT_EQ(Hex(platform::Md5Digest(GetParam().input)), GetParam().md5);
}

// The first three are RFC 1321's own test suite.
INSTANTIATE_TEST_SUITE_P(
    Vectors, Md5Test,
    ::testing::Values(
        DigestCase{"empty", "", "d41d8cd98f00b204e9800998ecf8427e"},
        DigestCase{"abc", "abc", "900150983cd24fb0d6963f7d28e17f72"},
        DigestCase{"messageDigest", "message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        DigestCase{"addressText", "001A2B3C4D5E", "7598b725a578ee13656d280b6520f326"}),
    CaseName());

struct AddressCase {
  const char* name;
  Address address;
  const char* identifier;  // MD5 of the address as twelve uppercase hex digits
};

class AddressIdentifierTest : public ::testing::TestWithParam<AddressCase> {};

TEST_P(AddressIdentifierTest, IsTheDigestOfTheUppercaseAddressText) {
  const Text id = MachineIdOf(GetParam().address);
  EXPECT_EQ(id, AsciiText(GetParam().identifier));
  EXPECT_TRUE(IsIdentifierForm(id));
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, AddressIdentifierTest,
    ::testing::Values(
        // "001A2B3C4D5E": the leading zero of the first byte is kept.
        AddressCase{"leadingZeroKept",
                    {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E},
                    "7598b725a578ee13656d280b6520f326"},
        // "0AAB0CDDEEFF", not "0aab0cddeeff" (726de93a...).
        AddressCase{"lettersInUppercase",
                    {0x0A, 0xAB, 0x0C, 0xDD, 0xEE, 0xFF},
                    "c5410c3c5fd86a7a75b5216d8d9e371d"},
        AddressCase{
            "allOnes", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, "454f0565bba9e7ea2c142d213975666c"},
        // "000000000000": also the identifier of a machine without a readable adapter.
        AddressCase{"allZeros", {0, 0, 0, 0, 0, 0}, "35b9ab5a36f3234dd26db357fd4a0dc1"}),
    CaseName());

// --- The adapter list of this machine -------------------------------------------

std::optional<std::string> SysValue(const std::string& interface, const char* name) {
  std::ifstream file("/sys/class/net/" + interface + "/" + name);
  std::string value;
  if (!(file >> value)) return std::nullopt;
  return value;
}

// Read independently of the code under test: the interface with the lowest index
// that is no loopback and has a six-byte hardware address.
std::optional<Address> FirstAdapterFromSysfs() {
  DIR* folder = opendir("/sys/class/net");
  if (!folder) return std::nullopt;
  long bestIndex = LONG_MAX;
  std::optional<Address> best;
  while (const dirent* entry = readdir(folder)) {
    const std::string name = entry->d_name;
    const auto index = SysValue(name, "ifindex");
    const auto length = SysValue(name, "addr_len");
    const auto flags = SysValue(name, "flags");
    const auto text = SysValue(name, "address");
    if (!index || !length || !flags || !text || *length != "6") continue;
    if (std::stoul(*flags, nullptr, 16) & 0x8) continue;  // IFF_LOOPBACK
    Address address{};
    unsigned bytes[6];
    if (std::sscanf(text->c_str(), "%x:%x:%x:%x:%x:%x", &bytes[0], &bytes[1], &bytes[2], &bytes[3],
                    &bytes[4], &bytes[5]) != 6)
      continue;
    for (int i = 0; i < 6; ++i) address[i] = static_cast<uint8_t>(bytes[i]);
    if (std::stol(*index) < bestIndex) {
      bestIndex = std::stol(*index);
      best = address;
    }
  }
  closedir(folder);
  return best;
}

TEST(FirstAdapterTest, IsTheFirstNonLoopbackInterfaceWithASixByteAddress) {
  const std::optional<Address> expected = FirstAdapterFromSysfs();
  Address address{};
  ASSERT_EQ(platform::FirstAdapterAddress(address), expected.has_value());
  if (expected) {
    EXPECT_EQ(address, *expected);
  }
}

TEST(MachineIdTest, IsDerivedFromTheFirstAdapterOrTheZeroAddress) {
  const Address address = FirstAdapterFromSysfs().value_or(Address{});
  EXPECT_EQ(MachineId(), MachineIdOf(address));
}

TEST(MachineIdTest, TwoCallsGiveTheSameIdentifier) {
  const Text first = MachineId();
  EXPECT_TRUE(IsIdentifierForm(first));
  EXPECT_EQ(MachineId(), first);
}

}  // namespace
}  // namespace orvanel::test
