// MD5 through CryptoAPI, which every Windows from XP on has.
#include "platform/Digest.h"

#include <windows.h>

#include <wincrypt.h>

#include <algorithm>

namespace orvanel::platform {
namespace {

// Hashes the bytes into digest; false when a CryptoAPI call fails.
bool HashMd5(HCRYPTPROV provider, const std::string& bytes, std::array<uint8_t, 16>& digest) {
  HCRYPTHASH hash = 0;
  if (!CryptCreateHash(provider, CALG_MD5, 0, 0, &hash)) return false;
  bool ok = true;
  // CryptHashData takes at most 4 GiB per call.
  for (size_t done = 0; ok && done < bytes.size();) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 0x40000000));
    ok = CryptHashData(hash, reinterpret_cast<const BYTE*>(bytes.data() + done), chunk, 0);
    done += chunk;
  }
  DWORD length = static_cast<DWORD>(digest.size());
  ok = ok && CryptGetHashParam(hash, HP_HASHVAL, digest.data(), &length, 0) &&
       length == digest.size();
  CryptDestroyHash(hash);
  return ok;
}

}  // namespace

std::array<uint8_t, 16> Md5Digest(const std::string& bytes) {
  std::array<uint8_t, 16> digest{};
  HCRYPTPROV provider = 0;
  // No key container is needed for a hash.
  if (!CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT))
    return digest;
  // On a failure the digest stays all zeros, which still has the form the callers expect.
  if (!HashMd5(provider, bytes, digest)) digest.fill(0);
  CryptReleaseContext(provider, 0);
  return digest;
}

}  // namespace orvanel::platform
