// The signature check against signatures made by the openssl tool, as the publisher
// makes them.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "SigningKey.h"
#include "TestSupport.h"
#include "platform/Signature.h"

namespace orvanel::platform {
namespace {

using test::SigningKey;

// Keys are slow to make: one set for all the tests.
class SignatureTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    publisher_ = std::make_unique<SigningKey>(SigningKey::Rsa(2048));
    stranger_ = std::make_unique<SigningKey>(SigningKey::Rsa(2048));
    shortKey_ = std::make_unique<SigningKey>(SigningKey::Rsa(1024));
    ellipticKey_ = std::make_unique<SigningKey>(SigningKey::EllipticCurve());
  }
  static void TearDownTestSuite() {
    publisher_.reset();
    stranger_.reset();
    shortKey_.reset();
    ellipticKey_.reset();
  }

  SignatureTest() { test::WriteFile(Installer(), std::string("MZ\x90\0installer body", 19)); }
  std::string Installer() const { return dir_ / "installer.exe"; }
  bool Verify(const std::string& signature, const std::string& keyPem) const {
    return VerifyFileSignature(Utf8ToWide(Installer()), signature, keyPem);
  }

  static std::unique_ptr<SigningKey> publisher_, stranger_, shortKey_, ellipticKey_;
  test::TempDir dir_;
};

std::unique_ptr<SigningKey> SignatureTest::publisher_, SignatureTest::stranger_,
    SignatureTest::shortKey_, SignatureTest::ellipticKey_;

TEST_F(SignatureTest, TheFileAsSignedIsAccepted) {
  EXPECT_TRUE(Verify(publisher_->Sign(Installer()), publisher_->PublicKeyPem()));
}

TEST_F(SignatureTest, ALargeFileIsReadWhole) {
  std::string body(3 * 64 * 1024 + 17, 'x');
  test::WriteFile(Installer(), body);
  const std::string signature = publisher_->Sign(Installer());
  EXPECT_TRUE(Verify(signature, publisher_->PublicKeyPem()));
  body.back() = 'y';  // a change past the first blocks
  test::WriteFile(Installer(), body);
  EXPECT_FALSE(Verify(signature, publisher_->PublicKeyPem()));
}

TEST_F(SignatureTest, AChangedFileIsRefused) {
  const std::string signature = publisher_->Sign(Installer());
  test::WriteFile(Installer(), std::string("MZ\x90\0installer bodY", 19));
  EXPECT_FALSE(Verify(signature, publisher_->PublicKeyPem()));
}

TEST_F(SignatureTest, AnyOtherSignatureIsRefused) {
  const std::string good = publisher_->Sign(Installer());
  std::string flipped = good;
  flipped[flipped.size() / 2] ^= 0x01;
  struct Case {
    const char* name;
    std::string signature;
  };
  const Case cases[] = {
      {"one bit changed", flipped},
      {"cut short", good.substr(0, good.size() - 1)},
      {"one byte more", good + '\0'},
      {"empty", ""},
      {"an error page", "<html>404 Not Found</html>"},
      {"by another key", stranger_->Sign(Installer())},
      {"over SHA-1", publisher_->Sign(Installer(), "-sha1")},
  };
  for (const Case& c : cases) EXPECT_FALSE(Verify(c.signature, publisher_->PublicKeyPem())) << c.name;
}

TEST_F(SignatureTest, OnlyRsaKeysOf2048BitsOrMoreCount) {
  // Each signature fits its own key: only the key itself is refused.
  EXPECT_FALSE(Verify(shortKey_->Sign(Installer()), shortKey_->PublicKeyPem())) << "1024 bits";
  EXPECT_FALSE(Verify(ellipticKey_->Sign(Installer()), ellipticKey_->PublicKeyPem())) << "EC";
}

TEST_F(SignatureTest, AnythingButAPublicKeyIsRefused) {
  const std::string signature = publisher_->Sign(Installer());
  const std::string pem = publisher_->PublicKeyPem();
  for (const std::string& key : {std::string(), std::string("not a key"), pem.substr(0, 100),
                                 pem.substr(0, pem.size() / 2) + "A" + pem.substr(pem.size() / 2 + 1)}) {
    EXPECT_FALSE(Verify(signature, key)) << key;
  }
}

TEST_F(SignatureTest, AMissingFileIsRefused) {
  const std::string signature = publisher_->Sign(Installer());
  EXPECT_FALSE(VerifyFileSignature(Utf8ToWide(dir_ / "missing.exe"), signature,
                                   publisher_->PublicKeyPem()));
}

// The key built into the program is the public half of an RSA key this check accepts.
TEST(BuiltInKeyTest, IsThePublicHalfOfAnRsaKeyOfAtLeast2048Bits) {
  const std::string file = std::string(ORVANEL_SOURCE_DIR) + "/src/resources/update-key.pem";
  const test::RunResult result =
      test::Run({test::OpensslTool(), "pkey", "-pubin", "-in", file, "-noout", "-text"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::string label = "Public-Key: (";
  const size_t at = result.out.find(label);
  ASSERT_NE(at, std::string::npos) << result.out;
  EXPECT_GE(std::stoi(result.out.substr(at + label.size())), 2048) << result.out;
  EXPECT_EQ(test::ReadFile(file).find("PRIVATE"), std::string::npos);
}

}  // namespace
}  // namespace orvanel::platform
