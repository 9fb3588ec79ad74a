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

namespace {

// Three bytes out for every byte in, written straight into the caller's buffer.
void append_percent_encoded(std::string& out, std::string_view bytes) {
    std::size_t at = out.size();
    out.resize(at + 3 * bytes.size());
    for (unsigned char b : bytes) {
        out[at++] = '%';
        out[at++] = hex_digits[b >> 4];
        out[at++] = hex_digits[b & 15];
    }
}

}  // namespace

Text percent_encode(const Text& text) {
    std::string out;
    append_percent_encoded(out, text.view());
    return Text(std::move(out));
}

Text build_signed_url(const Text& q, const Text& salt) {
    // Identifier, salt and key are ASCII: their UTF-8 is themselves, so q is converted once.
    ByteBuffer utf8_q = ansi_to_utf8(q);
    Text sign = md5_hex(bytes_concat({app_id, utf8_q, salt, secret_key}));
    // The encoded text is most of a long URL: write it in place rather than copy it twice.
    std::string url = text_concat({"http://", api_host, "/api/trans/vip/translate?appid=", app_id, "&q="}).str();
    url.reserve(url.size() + 3 * utf8_q.size() + 64);
    append_percent_encoded(url, utf8_q);
    url += text_concat({"&from=auto&to=auto&salt=", salt, "&sign=", sign}).view();
    return Text(std::move(url));
}

Text fresh_salt() {
    seed_random();
    return to_text(random_int(32768, 65536));
}

Text build_signed_url(const Text& q) { return build_signed_url(q, fresh_salt()); }
