// Reply decoding: percent escapes, the string-literal escapes of the reply and the marker search
// that picks out the translation. The reply is only ever read as data, never run.
#include "client/decode.h"

#include <algorithm>
#include <string>

#include "text/charset.h"

namespace {

// Value of a hexadecimal digit of either case; -1 for anything else.
int hex_value(char32_t c) {
    if (c >= '0' && c <= '9') return int(c - '0');
    if (c >= 'A' && c <= 'F') return int(c - 'A' + 10);
    if (c >= 'a' && c <= 'f') return int(c - 'a' + 10);
    return -1;
}

// A digit after "%": its value, -2 for a byte that is no digit, 0 past the end of the text.
int percent_digit(std::string_view text, std::size_t i) {
    if (i >= text.size()) return 0;
    int value = hex_value(static_cast<unsigned char>(text[i]));
    return value < 0 ? -2 : value;
}

// The text as UTF-16 units; replies escape everything beyond ASCII, which needs no converter.
std::u16string utf16_of(const Text& text) {
    std::string_view view = text.view();
    if (std::all_of(view.begin(), view.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::u16string(view.begin(), view.end());
    return ansi_to_utf16(text);
}

// Reads n hexadecimal digits at in[i]; -1 unless all n are there.
long hex_run(std::u16string_view in, std::size_t i, std::size_t n) {
    if (in.size() - i < n) return -1;
    long value = 0;
    for (std::size_t k = 0; k < n; ++k) {
        int digit = hex_value(in[i + k]);
        if (digit < 0) return -1;
        value = value * 16 + digit;
    }
    return value;
}

bool is_octal(char16_t c) { return c >= '0' && c <= '7'; }

// Decodes the body of a single-quoted string literal as the classic script engine reads it,
// \uXXXX included, in one pass so that nothing decoded is read as an escape again.
// False when the engine would refuse the literal: a CR or LF outside a CR LF pair, or a
// backslash with nothing after it.
bool decode_literal(std::u16string_view in, std::u16string& decoded) {
    const std::size_t n = in.size();
    decoded.resize(n);  // nothing decodes to more units than it was written with
    char16_t* out = decoded.data();
    std::size_t i = 0;
    // A line break in the text itself must be CR LF and comes through as it is, even escaped.
    auto take_line_break = [&](char16_t c) {
        if (c == '\n' || i == n || in[i] != '\n') return false;
        *out++ = '\r';
        *out++ = '\n';
        ++i;
        return true;
    };
    while (i < n) {
        char16_t c = in[i++];
        if (c == '\r' || c == '\n') {
            if (!take_line_break(c)) return false;
            continue;
        }
        if (c != '\\') {
            *out++ = c;
            continue;
        }
        if (i == n) return false;
        c = in[i++];
        switch (c) {
        case '\r':
        case '\n':
            if (!take_line_break(c)) return false;
            continue;
        case 'b': c = 0x08; break;
        case 'f': c = 0x0C; break;
        case 'n': c = 0x0A; break;
        case 'r': c = 0x0D; break;
        case 't': c = 0x09; break;
        case 'x':
            // Without two digits the backslash only stands before the letter x.
            if (long value = hex_run(in, i, 2); value >= 0) {
                c = char16_t(value);
                i += 2;
            }
            break;
        case 'u':
            if (long value = hex_run(in, i, 4); value >= 0) {
                c = char16_t(value);
                i += 4;
            } else {
                *out++ = '\\';  // no escape: kept as written
            }
            break;
        default:
            if (is_octal(c)) {
                // \0 to \377: up to three digits when the first is 0-3, up to two when it is 4-7.
                int value = c - '0';
                std::size_t digits = c <= '3' ? 3 : 2;
                for (std::size_t k = 1; k < digits && i < n && is_octal(in[i]); ++k)
                    value = value * 8 + (in[i++] - '0');
                c = char16_t(value);
            }
            // Any other character, \v and \' \" \\ \/ among them, stands for itself.
            break;
        }
        *out++ = c;
    }
    decoded.resize(out - decoded.data());
    return true;
}

}  // namespace

Text percent_decode(const Text& text) {
    std::string_view in = text.view();
    std::string out;
    out.reserve(in.size());
    for (std::size_t i = 0; i < in.size(); i += 3) {
        std::size_t percent = std::min(in.find('%', i), in.size());
        out.append(in, i, percent - i);
        i = percent;
        if (i == in.size()) break;
        // "%" always takes the next two bytes, whatever they are; a zero byte is never added.
        int high = percent_digit(in, i + 1);
        int low = percent_digit(in, i + 2);
        if (char byte = static_cast<char>((high * 16 + low) & 0xFF)) out += byte;
    }
    // ASCII is the same in UTF-8 and code page 936, and a reply is ASCII unless it holds raw text.
    if (std::all_of(out.begin(), out.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return Text(std::move(out));
    return utf8_to_ansi(ByteBuffer(std::move(out)));
}

Text unescape_unicode(const Text& text) {
    std::string_view t = text.view();
    if (!t.empty() && t[0] == '\r' && (t.size() == 1 || t[1] != '\n')) t.remove_prefix(1);
    Text prepared(t);
    std::u16string decoded;
    // Text that a string literal cannot hold is not decoded: its bytes are read back as UTF-16.
    if (!decode_literal(utf16_of(prepared), decoded)) return stream_unicode_text(to_bytes(prepared));
    return utf16_to_ansi(decoded);
}

Text stream_unicode_text(const ByteBuffer& bytes) {
    // Two bytes per unit, low byte first; an odd last byte is dropped, a byte-order mark kept.
    const unsigned char* b = bytes.data();
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t k = 0; k < units.size(); ++k) units[k] = char16_t(b[2 * k] | b[2 * k + 1] << 8);
    return utf16_to_ansi(units);
}

Text text_between(const Text& text, const Text& start_marker, const Text& end_marker) {
    const Text quote_token = "#\xD2\xFD\xBA\xC5";  // "#引号" in code page 936, written out for any compiler
    Text start = text_substitute(start_marker, quote_token, "\"");
    Text end = text_substitute(end_marker, quote_token, "\"");
    int found = text_find(text, start);
    if (found < 0) return {};
    int from = found + text_length(start);
    int to = text_find(text, end, from);
    if (to < 0) return {};
    return text_mid(text, from, to - from);
}
