#include "client/signing.h"

#include "client/md5.h"
#include "text/charset.h"

const Text app_id = QUORVANE_APP_ID;
const Text secret_key = QUORVANE_SECRET_KEY;
const Text api_host = "api.fanyi.baidu.com";

namespace {
constexpr char hex_digits[] = "0123456789ABCDEF";
}

Text digest_hex(const ByteBuffer& digest) {
    std::string hex(2 * digest.size(), '0');
    for (std::size_t i = 0; i < digest.size(); ++i) {
        hex[2 * i] = hex_digits[shift_right(digest.data()[i], 4)];
        hex[2 * i + 1] = hex_digits[bit_and(digest.data()[i], 15)];
    }
    return text_lower(Text(std::move(hex)));
}

Text percent_encode(const Text& text) {
    // One pass into a buffer of the final size: three bytes out for every byte in.
    std::string out(3 * text.size(), '%');
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto b = static_cast<unsigned char>(text.view()[i]);
        out[3 * i + 1] = hex_digits[b >> 4];
        out[3 * i + 2] = hex_digits[b & 15];
    }
    return Text(std::move(out));
}

Text build_signed_url(const Text& q, const Text& salt) {
    Text sign = md5_hex(ansi_to_utf8(text_concat({app_id, q, salt, secret_key})));
    Text encoded = percent_encode(to_text(ansi_to_utf8(q)));
    return text_concat({"http://", api_host, "/api/trans/vip/translate?appid=", app_id, "&q=", encoded,
                        "&from=auto&to=auto&salt=", salt, "&sign=", sign});
}

Text fresh_salt() {
    seed_random();
    return to_text(random_int(32768, 65536));
}

Text build_signed_url(const Text& q) { return build_signed_url(q, fresh_salt()); }
