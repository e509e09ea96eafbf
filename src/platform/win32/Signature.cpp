// The installer's signature through CryptoAPI, which every Windows from XP SP3 on has:
// the PEM key decoded and imported into an RSA/AES provider, SHA-256 of the file, and
// the PKCS#1 v1.5 signature checked in CryptoAPI's little-endian byte order.
#include "platform/Signature.h"

#include <windows.h>

#include <wincrypt.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/Files.h"

// XP SP3's RSA/AES provider hashes with SHA-256, but the headers declare it only for
// later targets.
#ifndef CALG_SHA_256
#define CALG_SHA_256 (ALG_CLASS_HASH | ALG_TYPE_ANY | 12)
#endif

namespace orvanel::platform {
namespace {

// Keys shorter than this can be forged with the means of today.
constexpr DWORD kMinimumKeyBits = 2048;

// The file is hashed in blocks, so an installer of any size costs little memory.
constexpr size_t kReadBlockBytes = 64 * 1024;

// The DER bytes of a PEM "PUBLIC KEY" block; empty when the text is none.
std::vector<BYTE> PemToDer(const std::string& pem) {
  if (pem.empty() || pem.size() > 0x100000) return {};
  DWORD size = 0;
  if (!CryptStringToBinaryA(pem.data(), static_cast<DWORD>(pem.size()),
                            CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr)) {
    return {};
  }
  std::vector<BYTE> der(size);
  if (!CryptStringToBinaryA(pem.data(), static_cast<DWORD>(pem.size()),
                            CRYPT_STRING_BASE64HEADER, der.data(), &size, nullptr, nullptr)) {
    return {};
  }
  der.resize(size);
  return der;
}

// Imports an RSA key of at least kMinimumKeyBits into the provider; 0 otherwise.
HCRYPTKEY ImportRsaKey(HCRYPTPROV provider, const std::vector<BYTE>& der) {
  CERT_PUBLIC_KEY_INFO* info = nullptr;
  DWORD infoSize = 0;
  if (!CryptDecodeObjectEx(X509_ASN_ENCODING, X509_PUBLIC_KEY_INFO, der.data(),
                           static_cast<DWORD>(der.size()), CRYPT_DECODE_ALLOC_FLAG, nullptr,
                           &info, &infoSize)) {
    return 0;
  }
  HCRYPTKEY key = 0;
  const bool rsa = info->Algorithm.pszObjId &&
                   std::strcmp(info->Algorithm.pszObjId, szOID_RSA_RSA) == 0;
  if (rsa && !CryptImportPublicKeyInfo(provider, X509_ASN_ENCODING, info, &key)) key = 0;
  LocalFree(info);
  if (!key) return 0;
  DWORD bits = 0;
  DWORD bitsSize = sizeof bits;
  if (!CryptGetKeyParam(key, KP_KEYLEN, reinterpret_cast<BYTE*>(&bits), &bitsSize, 0) ||
      bits < kMinimumKeyBits) {
    CryptDestroyKey(key);
    return 0;
  }
  return key;
}

// Feeds the whole file into the hash; false when it cannot be read to its end.
bool HashFile(HCRYPTHASH hash, const Text& path) {
  std::FILE* file = OpenFile(path, "rb");
  if (!file) return false;
  std::vector<BYTE> block(kReadBlockBytes);
  bool ok = true;
  for (size_t n; ok && (n = std::fread(block.data(), 1, block.size(), file)) > 0;)
    ok = CryptHashData(hash, block.data(), static_cast<DWORD>(n), 0) != FALSE;
  ok = ok && !std::ferror(file);
  std::fclose(file);
  return ok;
}

bool Verify(HCRYPTPROV provider, HCRYPTKEY key, const Text& path, const std::string& signature) {
  HCRYPTHASH hash = 0;
  if (!CryptCreateHash(provider, CALG_SHA_256, 0, 0, &hash)) return false;
  // CryptoAPI reads signatures least significant byte first; OpenSSL writes them
  // most significant first.
  std::vector<BYTE> reversed(signature.rbegin(), signature.rend());
  const bool ok = HashFile(hash, path) &&
                  CryptVerifySignatureW(hash, reversed.data(), static_cast<DWORD>(reversed.size()),
                                        key, nullptr, 0);
  CryptDestroyHash(hash);
  return ok;
}

}  // namespace

bool VerifyFileSignature(const Text& path, const std::string& signature,
                         const std::string& publicKeyPem) {
  if (signature.empty() || signature.size() > 0x10000) return false;
  const std::vector<BYTE> der = PemToDer(publicKeyPem);
  if (der.empty()) return false;
  HCRYPTPROV provider = 0;
  if (!CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT))
    return false;
  bool ok = false;
  if (const HCRYPTKEY key = ImportRsaKey(provider, der)) {
    ok = Verify(provider, key, path, signature);
    CryptDestroyKey(key);
  }
  CryptReleaseContext(provider, 0);
  return ok;
}

}  // namespace orvanel::platform
