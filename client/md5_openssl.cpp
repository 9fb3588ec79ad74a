// Linux: OpenSSL's EVP digest, from libcrypto opened on the first digest (lazy_library_posix.h).
#include <openssl/evp.h>

#include "client/lazy_library_posix.h"
#include "client/md5.h"

namespace {

struct Crypto {
    decltype(&EVP_Digest) digest = nullptr;
    decltype(&EVP_md5) md5 = nullptr;
};

// libcrypto's functions, looked up once; nullptr when the library or one of them is missing.
const Crypto* libcrypto() {
    static const Crypto* const loaded = []() -> const Crypto* {
        static Crypto crypto;
        void* library = open_library("libcrypto.so.3");
        bool found = look_up(library, "EVP_Digest", crypto.digest) && look_up(library, "EVP_md5", crypto.md5);
        return found ? &crypto : nullptr;
    }();
    return loaded;
}

}  // namespace

Text md5_hex(const ByteBuffer& data) {
    const Crypto* crypto = libcrypto();
    if (!crypto) return {};
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    bool done = crypto->digest(data.data(), data.size(), digest, &length, crypto->md5(), nullptr);
    if (!done || length != 16) return {};
    return digest_hex(ByteBuffer(digest, length));
}
