// Windows: CryptoAPI's MD5; everything acquired is released, the hash before the context.
#include <windows.h>
#include <wincrypt.h>

#include "client/md5.h"

Text md5_hex(const ByteBuffer& data) {
    HCRYPTPROV context = 0;
    // No container and no provider name: the default provider of the type.
    if (!CryptAcquireContextA(&context, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT) &&
        !CryptAcquireContextA(&context, nullptr, nullptr, PROV_RSA_FULL, 0))
        return {};
    HCRYPTHASH hash = 0;
    if (!CryptCreateHash(context, CALG_MD5, 0, 0, &hash)) {
        CryptReleaseContext(context, 0);
        return {};
    }
    ByteBuffer digest = blank_bytes(16);
    DWORD length = 16;
    bool ok = CryptHashData(hash, data.data(), static_cast<DWORD>(bytes_length(data)), 0) &&
              CryptGetHashParam(hash, HP_HASHVAL, digest.data(), &length, 0) && length == 16;
    CryptDestroyHash(hash);
    CryptReleaseContext(context, 0);
    return ok ? digest_hex(digest) : Text();
}
