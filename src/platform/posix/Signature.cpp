#include "platform/Signature.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "platform/Files.h"

namespace orvanel::platform {
namespace {

// Keys shorter than this can be forged with the means of today.
constexpr int kMinimumKeyBits = 2048;

// The file is read in blocks, so an installer of any size costs little memory.
constexpr size_t kReadBlockBytes = 64 * 1024;

struct BioFree {
  void operator()(BIO* bio) const { BIO_free(bio); }
};
struct KeyFree {
  void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct DigestFree {
  void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
struct FileClose {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The RSA public key of a PEM text, or null when the text holds anything else.
std::unique_ptr<EVP_PKEY, KeyFree> ReadRsaPublicKey(const std::string& pem) {
  if (pem.empty() || pem.size() > static_cast<size_t>(INT32_MAX)) return nullptr;
  std::unique_ptr<BIO, BioFree> bio(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
  if (!bio) return nullptr;
  std::unique_ptr<EVP_PKEY, KeyFree> key(
      PEM_read_bio_PUBKEY(bio.get(), nullptr, nullptr, nullptr));
  if (!key || EVP_PKEY_base_id(key.get()) != EVP_PKEY_RSA ||
      EVP_PKEY_get_bits(key.get()) < kMinimumKeyBits) {
    return nullptr;
  }
  return key;
}

}  // namespace

namespace {

bool Verify(const Text& path, const std::string& signature, const std::string& publicKeyPem) {
  const auto key = ReadRsaPublicKey(publicKeyPem);
  if (!key || signature.empty()) return false;
  std::unique_ptr<std::FILE, FileClose> file(OpenFile(path, "rb"));
  if (!file) return false;
  std::unique_ptr<EVP_MD_CTX, DigestFree> context(EVP_MD_CTX_new());
  // RSA keys sign with PKCS#1 v1.5 padding unless told otherwise.
  if (!context ||
      EVP_DigestVerifyInit(context.get(), nullptr, EVP_sha256(), nullptr, key.get()) != 1) {
    return false;
  }
  std::vector<unsigned char> block(kReadBlockBytes);
  size_t read = 0;
  while ((read = std::fread(block.data(), 1, block.size(), file.get())) > 0) {
    if (EVP_DigestVerifyUpdate(context.get(), block.data(), read) != 1) return false;
  }
  if (std::ferror(file.get())) return false;
  return EVP_DigestVerifyFinal(context.get(),
                               reinterpret_cast<const unsigned char*>(signature.data()),
                               signature.size()) == 1;
}

}  // namespace

bool VerifyFileSignature(const Text& path, const std::string& signature,
                         const std::string& publicKeyPem) {
  const bool verified = Verify(path, signature, publicKeyPem);
  // A refused key or signature leaves its reasons queued; they are of no further use.
  ERR_clear_error();
  return verified;
}

}  // namespace orvanel::platform
