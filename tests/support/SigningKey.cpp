#include "SigningKey.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace orvanel::test {
namespace {

void RunOpenssl(const std::vector<std::string>& arguments) {
  std::vector<std::string> argv = {OpensslTool()};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  const RunResult result = Run(argv);
  if (result.exitCode != 0)
    throw std::runtime_error("openssl " + arguments.front() + " failed: " + result.err);
}

}  // namespace

std::string OpensslTool() {
  const std::string tool = "/usr/bin/openssl";
  if (!FileExists(tool))
    throw std::runtime_error("the openssl tool is missing (scripts/install-deps.sh installs it)");
  return tool;
}

SigningKey::SigningKey(const std::vector<std::string>& genpkeyOptions) {
  std::vector<std::string> arguments = {"genpkey"};
  arguments.insert(arguments.end(), genpkeyOptions.begin(), genpkeyOptions.end());
  arguments.insert(arguments.end(), {"-out", dir_ / "private.pem"});
  RunOpenssl(arguments);
  RunOpenssl({"pkey", "-in", dir_ / "private.pem", "-pubout", "-out", PublicKeyFile()});
}

std::vector<std::string> SigningKey::Rsa(int bits) {
  return {"-algorithm", "RSA", "-pkeyopt", "rsa_keygen_bits:" + std::to_string(bits)};
}

std::vector<std::string> SigningKey::EllipticCurve() {
  return {"-algorithm", "EC", "-pkeyopt", "ec_paramgen_curve:P-256"};
}

std::string SigningKey::Sign(const std::string& file, const std::string& digest) const {
  const std::string signature = dir_ / "signature";
  RunOpenssl({"dgst", digest, "-sign", dir_ / "private.pem", "-out", signature, file});
  return ReadFile(signature);
}

}  // namespace orvanel::test
