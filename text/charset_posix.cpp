// Linux: glibc iconv's CP936 table, the same as Windows' for every mappable character.
// UTF-8 decoding is our own so that bad input is replaced exactly as the Windows converter does.
#include "text/charset.h"

#include <iconv.h>

#include <cerrno>
#include <string>

namespace {

// One descriptor per direction and thread, reset before each use.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() { if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts in, calling on_error(offset of the bad input, the error) to learn how many
    // input bytes to skip and what to write instead.
    template <class OnError>
    std::string run(std::string_view in, OnError on_error) {
        std::string out;
        if (cd_ == reinterpret_cast<iconv_t>(-1)) return out;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        out.resize(in.size() * 2 + 16);
        char* src = const_cast<char*>(in.data());
        std::size_t src_left = in.size(), used = 0;
        while (src_left > 0) {
            char* dst = out.data() + used;
            std::size_t dst_left = out.size() - used;
            std::size_t r = iconv(cd_, &src, &src_left, &dst, &dst_left);
            used = out.size() - dst_left;
            if (r != static_cast<std::size_t>(-1)) break;
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            auto [skip, replacement] = on_error(std::string_view(src, src_left), errno);
            if (out.size() - used < replacement.size()) out.resize(out.size() * 2 + replacement.size());
            out.replace(used, replacement.size(), replacement);
            used += replacement.size();
            src += skip;
            src_left -= skip;
        }
        out.resize(used);
        return out;
    }

private:
    iconv_t cd_;
};

struct Replacement {
    std::size_t skip;
    std::string_view text;
};

bool is_high(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool is_low(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Appends the UTF-16 units of the UTF-8 bytes; each maximal bad subsequence gives one U+FFFD.
void decode_utf8(std::string_view s, std::u16string& out) {
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        unsigned char b = s[i];
        if (b < 0x80) {
            out += char16_t(b);
            ++i;
            continue;
        }
        int need = b >= 0xC2 && b <= 0xDF ? 1 : b >= 0xE0 && b <= 0xEF ? 2 : b >= 0xF0 && b <= 0xF4 ? 3 : -1;
        if (need < 0) {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        // The second byte's range depends on the lead, which rules out overlongs and surrogates.
        unsigned char lo = b == 0xE0 ? 0xA0 : b == 0xF0 ? 0x90 : 0x80;
        unsigned char hi = b == 0xED ? 0x9F : b == 0xF4 ? 0x8F : 0xBF;
        char32_t cp = b & (0x3F >> need);
        std::size_t j = i + 1;
        for (int k = 0; k < need; ++k, ++j) {
            unsigned char c = j < s.size() ? s[j] : 0;
            if (j >= s.size() || c < (k == 0 ? lo : 0x80) || c > (k == 0 ? hi : 0xBF)) break;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (j - i != std::size_t(need) + 1) {
            out += u'\uFFFD';
            i = j;
            continue;
        }
        if (cp >= 0x10000) {
            out += char16_t(0xD800 + ((cp - 0x10000) >> 10));
            out += char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out += char16_t(cp);
        }
        i = j;
    }
}

}  // namespace

ByteBuffer ansi_to_utf8(const Text& text) {
    if (text_equal(text, Text())) return {};
    thread_local Converter to_utf8("UTF-8", "CP936");
    // A byte that starts no character of the code page becomes "?".
    return ByteBuffer(to_utf8.run(text.view(), [](std::string_view, int) { return Replacement{1, "?"}; }));
}

Text utf16_to_ansi(std::u16string_view units) {
    units = units.substr(0, units.find(u'\0'));
    thread_local Converter to_ansi("CP936", "UTF-16LE");
    std::string le;
    le.reserve(units.size() * 2);
    for (char16_t u : units) {
        le += char(u & 0xFF);
        le += char(u >> 8);
    }
    return Text(to_ansi.run(le, [](std::string_view rest, int) {
        auto unit = [&](std::size_t k) { return char16_t((unsigned char)rest[2 * k] | (unsigned char)rest[2 * k + 1] << 8); };
        // A pair the code page lacks gives one "?" per unit, as Windows does.
        if (rest.size() >= 4 && is_high(unit(0)) && is_low(unit(1))) return Replacement{4, "??"};
        return Replacement{rest.size() >= 2 ? 2u : rest.size(), "?"};
    }));
}

Text utf8_to_ansi(const ByteBuffer& bytes) {
    std::u16string wide;
    decode_utf8(bytes.view(), wide);
    return utf16_to_ansi(wide);
}
