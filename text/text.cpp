#include "text/text.h"

#include <algorithm>
#include <charconv>

namespace {

bool is_lead(unsigned char b) { return b >= 0x80; }

// Bytes of the character at i: two for a lead byte with a byte after it.
std::size_t char_step(std::string_view s, std::size_t i) {
    return is_lead(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

char ascii_upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }
char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

template <char (*Map)(char)>
Text map_letters(const Text& text) {
    std::string out(text.view());
    for (std::size_t i = 0; i < out.size(); i += char_step(out, i))
        out[i] = Map(out[i]);  // a trail byte is never visited
    return Text(std::move(out));
}

// The parts one after another, in a string allocated once.
std::string joined(std::initializer_list<std::string_view> parts) {
    std::size_t total = 0;
    for (auto p : parts) total += p.size();
    std::string out;
    out.reserve(total);
    for (auto p : parts) out.append(p);
    return out;
}

int clamp_count(int n, std::size_t available) {
    return n <= 0 ? 0 : static_cast<int>(std::min<std::size_t>(std::size_t(n), available));
}

}  // namespace

int text_length(const Text& text) { return static_cast<int>(text.size()); }

Text text_left(const Text& text, int n) { return text.view().substr(0, clamp_count(n, text.size())); }

Text text_right(const Text& text, int n) {
    int k = clamp_count(n, text.size());
    return text.view().substr(text.size() - k);
}

Text text_mid(const Text& text, int start, int n) {
    if (start < 1 || std::size_t(start) > text.size() || n <= 0) return {};
    return text.view().substr(start - 1, clamp_count(n, text.size() - (start - 1)));
}

int text_find(const Text& text, const Text& needle, int start, bool ignore_case) {
    std::string_view s = text.view(), n = needle.view();
    std::size_t skip = start >= 1 ? std::size_t(start - 1) : 0;
    if (skip >= s.size()) return -1;
    if (n.empty()) return 1;
    auto same = [&](std::size_t p) {
        if (!ignore_case) return s.compare(p, n.size(), n) == 0;
        for (std::size_t k = 0; k < n.size(); ++k)
            if (ascii_lower(s[p + k]) != ascii_lower(n[k])) return false;
        return true;
    };
    for (std::size_t p = skip; s.size() - p >= n.size(); p += char_step(s, p))
        if (same(p)) return static_cast<int>(p + 1);
    return -1;
}

Text text_replace_at(const Text& text, int start, int n, const Text& replacement) {
    std::size_t at = std::clamp<std::size_t>(start < 1 ? 0 : std::size_t(start - 1), 0, text.size());
    std::size_t cut = clamp_count(n, text.size() - at);
    std::string out;
    out.reserve(text.size() - cut + replacement.size());
    out.append(text.view().substr(0, at)).append(replacement.view()).append(text.view().substr(at + cut));
    return Text(std::move(out));
}

Text text_substitute(const Text& text, const Text& find, const Text& replacement) {
    std::string_view s = text.view(), f = find.view();
    if (s.empty() || f.empty()) return text;
    std::string out;
    out.reserve(s.size());
    std::size_t p = 0;
    while (s.size() - p >= f.size()) {
        if (s.compare(p, f.size(), f) == 0) {
            out.append(replacement.view());
            p += f.size();
        } else {
            std::size_t step = char_step(s, p);
            out.append(s.substr(p, step));
            p += step;
        }
    }
    out.append(s.substr(p));
    return Text(std::move(out));
}

int text_compare(const Text& a, const Text& b, bool case_sensitive) {
    std::string_view x = a.view(), y = b.view();
    std::size_t i = 0, j = 0;
    while (i < x.size() && j < y.size()) {
        std::size_t sx = char_step(x, i), sy = char_step(y, j);
        for (std::size_t k = 0; k < std::min(sx, sy); ++k) {
            unsigned char cx = x[i + k], cy = y[j + k];
            if (!case_sensitive && k == 0 && sx == 1 && sy == 1) {
                cx = ascii_lower(char(cx));
                cy = ascii_lower(char(cy));
            }
            if (cx != cy) return cx < cy ? -1 : 1;
        }
        if (sx != sy) return sx < sy ? -1 : 1;
        i += sx;
        j += sy;
    }
    return i < x.size() ? 1 : j < y.size() ? -1 : 0;
}

bool text_equal(const Text& a, const Text& b) { return a == b; }

Text text_concat(std::initializer_list<std::string_view> parts) { return Text(joined(parts)); }

Text text_upper(const Text& text) { return map_letters<ascii_upper>(text); }
Text text_lower(const Text& text) { return map_letters<ascii_lower>(text); }

Text char_from_code(int code) {
    char c = static_cast<char>(code & 0xFF);
    return std::string_view(&c, 1);  // a zero byte gives the empty text
}

Text blank_text(int n) { return Text(std::string(n > 0 ? n : 0, ' ')); }

Text to_text(std::int32_t value) { return Text(std::to_string(value)); }
Text to_text(const ByteBuffer& buffer) { return buffer.view(); }
Text to_text(const Text& text) { return text; }

double to_number(const Text& text) {
    // Full-width forms read as the ASCII they stand for.
    std::string ascii;
    std::string_view s = text.view();
    ascii.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        unsigned char b = s[i];
        unsigned char next = i + 1 < s.size() ? s[i + 1] : 0;
        if (b == 0xA3 && next >= 0xA1 && next <= 0xFE)
            ascii += char(next - 0x80);
        else if (b == 0xA1 && next == 0xA1)
            ascii += ' ';
        else if (b == 0xA1 && next == 0xAB)
            ascii += '~';
        else if (b == 0xA1 && (next == 0xEE || next == 0xEF))
            ascii += '*';
        else {
            ascii += char(b);
            ++i;
            continue;
        }
        i += 2;
    }
    // The decimal grammar only, read without regard to the C locale.
    std::string_view a = ascii;
    std::size_t p = a.find_first_not_of(" \t\r\n\v\f");
    if (p == std::string_view::npos) return 0;
    bool negative = a[p] == '-';
    if (a[p] == '+' || a[p] == '-') ++p;
    // from_chars would also take a second sign, "inf" and "nan".
    if (p == a.size() || !(a[p] == '.' || (a[p] >= '0' && a[p] <= '9'))) return 0;
    double value = 0;
    if (std::from_chars(a.data() + p, a.data() + a.size(), value, std::chars_format::general).ec != std::errc())
        return 0;
    return negative ? -value : value;
}

std::int32_t truncate_to_int(double value) {
    if (!(value == value)) return 0;
    if (value <= INT32_MIN) return INT32_MIN;
    if (value >= INT32_MAX) return INT32_MAX;
    return static_cast<std::int32_t>(value);
}

Text to_hex_text(std::int32_t value) {
    static const char digits[] = "0123456789ABCDEF";
    auto v = static_cast<std::uint32_t>(value);
    char out[8];
    int n = 0;
    do {
        out[7 - n++] = digits[v & 15];
        v >>= 4;
    } while (v);
    return std::string_view(out + 8 - n, n);
}

ByteBuffer to_bytes(const Text& text) { return ByteBuffer(text.str()); }

int bytes_length(const ByteBuffer& buffer) { return static_cast<int>(buffer.size()); }

ByteBuffer bytes_left(const ByteBuffer& buffer, int n) {
    return ByteBuffer(std::string(buffer.view().substr(0, clamp_count(n, buffer.size()))));
}

ByteBuffer bytes_right(const ByteBuffer& buffer, int n) {
    int k = clamp_count(n, buffer.size());
    return ByteBuffer(std::string(buffer.view().substr(buffer.size() - k)));
}

ByteBuffer bytes_substitute(const ByteBuffer& buffer, const ByteBuffer& find, const ByteBuffer& replacement,
                            int count) {
    std::string_view s = buffer.view(), f = find.view();
    if (s.empty() || f.empty() || count <= 0) return buffer;
    std::string out;
    out.reserve(s.size());
    std::size_t p = 0;
    while (count > 0 && s.size() - p >= f.size()) {
        if (s.compare(p, f.size(), f) == 0) {
            out.append(replacement.view());
            p += f.size();
            --count;
        } else {
            out += s[p++];
        }
    }
    out.append(s.substr(p));
    return ByteBuffer(std::move(out));
}

ByteBuffer bytes_concat(std::initializer_list<std::string_view> parts) { return ByteBuffer(joined(parts)); }

bool bytes_equal(const ByteBuffer& a, const ByteBuffer& b) { return a == b; }

ByteBuffer blank_bytes(int n) { return ByteBuffer(std::string(n > 0 ? n : 0, '\0')); }

double bytes_read_value(const ByteBuffer& buffer, int type_code) {
    if (type_code != 3) return 0;
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4 && i < buffer.size(); ++i) v |= std::uint32_t(buffer.data()[i]) << (8 * i);
    return static_cast<std::int32_t>(v);
}

std::int32_t bit_and(std::int32_t a, std::int32_t b) { return a & b; }

std::int32_t shift_right(std::int32_t value, int bits) { return value >> (bits & 31); }
