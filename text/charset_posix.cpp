// Linux: glibc iconv's CP936 table, the same as Windows' for every mappable character.
// UTF-8 decoding is our own so that bad input is replaced exactly as the Windows converter does.
#include "text/charset.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace {

// One descriptor per direction and thread, reset before each use.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
    }
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

// Appends one code point per character; each maximal bad subsequence gives one U+FFFD.
void decode_utf8(std::string_view s, std::u32string& out) {
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        unsigned char b = s[i];
        if (b < 0x80) {
            out += char32_t(b);
            ++i;
            continue;
        }
        int need = b >= 0xC2 && b <= 0xDF ? 1 : b >= 0xE0 && b <= 0xEF ? 2 : b >= 0xF0 && b <= 0xF4 ? 3 : -1;
        if (need < 0) {
            out += U'\uFFFD';
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
        out += j - i == std::size_t(need) + 1 ? cp : U'\uFFFD';
        i = j;
    }
}

// Code points to code page 936, up to the first U+0000. glibc converts from its own wide
// characters in one step; from UTF-16 it takes two, and after every unmappable character it
// converts the whole rest again, which makes text full of such characters quadratic.
Text wide_to_ansi(std::u32string_view chars) {
    chars = chars.substr(0, chars.find(U'\0'));
    static_assert(sizeof(wchar_t) == sizeof(char32_t), "glibc's wide characters are UCS-4");
    thread_local Converter to_ansi("CP936", "WCHAR_T");
    std::string_view in(reinterpret_cast<const char*>(chars.data()), chars.size() * sizeof(char32_t));
    return Text(to_ansi.run(in, [](std::string_view rest, int) {
        char32_t c;
        std::memcpy(&c, rest.data(), sizeof c);
        // One "?" per UTF-16 unit the character takes, as Windows does.
        return Replacement{sizeof c, c >= 0x10000 ? "??" : "?"};
    }));
}

}  // namespace

ByteBuffer ansi_to_utf8(const Text& text) {
    if (text_equal(text, Text())) return {};
    thread_local Converter to_utf8("UTF-8", "CP936");
    // A byte that starts no character of the code page becomes "?".
    return ByteBuffer(to_utf8.run(text.view(), [](std::string_view, int) { return Replacement{1, "?"}; }));
}

std::u16string ansi_to_utf16(const Text& text) {
    ByteBuffer utf8 = ansi_to_utf8(text);
    std::u32string chars;
    decode_utf8(utf8.view(), chars);
    std::u16string units;
    units.reserve(chars.size());
    for (char32_t c : chars) {
        if (c < 0x10000) {
            units += char16_t(c);
        } else {
            units += char16_t(0xD800 + ((c - 0x10000) >> 10));
            units += char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    return units;
}

Text utf16_to_ansi(std::u16string_view units) {
    // A lone surrogate stays a surrogate code point, which the code page lacks: one "?".
    std::u32string chars;
    chars.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        char16_t u = units[i];
        if (is_high(u) && i + 1 < units.size() && is_low(units[i + 1])) {
            chars += char32_t(0x10000 + ((u - 0xD800) << 10) + (units[++i] - 0xDC00));
        } else {
            chars += char32_t(u);
        }
    }
    return wide_to_ansi(chars);
}

Text utf8_to_ansi(const ByteBuffer& bytes) {
    std::u32string chars;
    decode_utf8(bytes.view(), chars);
    return wide_to_ansi(chars);
}
