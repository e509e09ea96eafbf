// Key pairs made with the openssl tool for a test, and signatures made with them
// exactly as the publisher makes them (`openssl dgst -sha256 -sign`).
#pragma once

#include <string>
#include <vector>

#include "TestSupport.h"

namespace orvanel::test {

class SigningKey {
 public:
  // Makes a key with `openssl genpkey` and these options; the test fails loudly when
  // the openssl tool is missing or refuses.
  explicit SigningKey(const std::vector<std::string>& genpkeyOptions);
  static std::vector<std::string> Rsa(int bits);
  static std::vector<std::string> EllipticCurve();

  // The PEM file and text of the public half.
  std::string PublicKeyFile() const { return dir_ / "public.pem"; }
  std::string PublicKeyPem() const { return ReadFile(PublicKeyFile()); }

  // The signature of `file`'s bytes, with `digest` ("-sha256", "-sha1").
  std::string Sign(const std::string& file, const std::string& digest = "-sha256") const;

 private:
  TempDir dir_;
};

// The openssl tool; fails the test when it is not installed.
std::string OpensslTool();

}  // namespace orvanel::test
