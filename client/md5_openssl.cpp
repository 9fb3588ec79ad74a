// Linux: OpenSSL's EVP digest.
#include <openssl/evp.h>

#include "client/md5.h"

Text md5_hex(const ByteBuffer& data) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (!EVP_Digest(data.data(), data.size(), digest, &length, EVP_md5(), nullptr) || length != 16) return {};
    return digest_hex(ByteBuffer(digest, length));
}
