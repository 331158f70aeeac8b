#include <windows.h>
#include <wincrypt.h>

#include "wizard/oem_key.h"

namespace setup {

namespace {

class CryptContext {
 public:
  CryptContext() {
    if (!CryptAcquireContextA(&handle_, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT) &&
        !CryptAcquireContextA(&handle_, nullptr, nullptr, PROV_RSA_FULL, 0))
      handle_ = 0;
  }
  ~CryptContext() {
    if (handle_) CryptReleaseContext(handle_, 0);
  }
  CryptContext(const CryptContext&) = delete;
  CryptContext& operator=(const CryptContext&) = delete;
  HCRYPTPROV get() const { return handle_; }

 private:
  HCRYPTPROV handle_ = 0;
};

}  // namespace

Text Md5Hex(const Text& text) {
  CryptContext context;
  if (!context.get()) return Text();
  HCRYPTHASH hash = 0;
  if (!CryptCreateHash(context.get(), CALG_MD5, 0, 0, &hash)) return Text();
  BYTE digest[16];
  DWORD size = sizeof digest;
  const bool ok = CryptHashData(hash, reinterpret_cast<const BYTE*>(text.data()),
                                static_cast<DWORD>(text.size()), 0) &&
                  CryptGetHashParam(hash, HP_HASHVAL, digest, &size, 0) && size == sizeof digest;
  CryptDestroyHash(hash);
  if (!ok) return Text();
  static const char kHex[] = "0123456789abcdef";
  Text hex;
  for (BYTE b : digest) {
    hex += kHex[b >> 4];
    hex += kHex[b & 15];
  }
  return hex;
}

Text EncodeOemKey(const Text& agentIdText, const Text& tag) {
  return EncodeOemKeyWith(agentIdText, Md5Hex(tag));
}

}  // namespace setup
