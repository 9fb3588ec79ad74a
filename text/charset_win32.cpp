// Windows: the system's code page converters, through UTF-16.
#include <windows.h>

#include <algorithm>

#include "text/charset.h"

namespace {

// Units before the first zero unit, never looking past the n units the buffer has.
int units_before_zero(const ByteBuffer& wide, int n) {
    auto* w = reinterpret_cast<const wchar_t*>(wide.data());
    return static_cast<int>(std::find(w, w + n, L'\0') - w);
}

}  // namespace

ByteBuffer ansi_to_utf8(const Text& text) {
    if (text_equal(text, Text())) return {};
    int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    ByteBuffer wide = blank_bytes(n * 2);
    MultiByteToWideChar(936, 0, text.c_str(), -1, reinterpret_cast<wchar_t*>(wide.data()), n);
    int k = units_before_zero(wide, n);
    auto* units = reinterpret_cast<const wchar_t*>(wide.data());
    int m = WideCharToMultiByte(CP_UTF8, 0, units, k, nullptr, 0, nullptr, nullptr);
    if (m <= 0) return {};
    void* block = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, m);
    if (!block) return {};
    WideCharToMultiByte(CP_UTF8, 0, units, k, static_cast<char*>(block), m, nullptr, nullptr);
    ByteBuffer result = blank_bytes(m);
    RtlMoveMemory(result.data(), block, m);
    HeapFree(GetProcessHeap(), 0, block);
    return result;
}

Text utf8_to_ansi(const ByteBuffer& bytes) {
    // A last byte below 127 gets a zero byte after it, so the UTF-16 text ends in a zero unit.
    int v = static_cast<int>(bytes_read_value(bytes_right(bytes, 1), 3));
    ByteBuffer working = v < 127 ? bytes_concat({bytes, std::string_view("\0", 1)}) : bytes;
    int length = bytes_length(working);
    auto* src = reinterpret_cast<const char*>(working.data());
    int n = MultiByteToWideChar(CP_UTF8, 0, src, length, nullptr, 0);
    if (n <= 0) return {};
    ByteBuffer wide = blank_bytes(n * 2);
    MultiByteToWideChar(CP_UTF8, 0, src, length, reinterpret_cast<wchar_t*>(wide.data()), n);
    // Convert up to the first zero unit, or all n units when there is none, and terminate.
    Text area = blank_text(2 * n + 1);
    std::string out(area.str());
    int k = units_before_zero(wide, n);
    int written = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(wide.data()), k, out.data(), 2 * n,
                                      nullptr, nullptr);
    out[std::max(written, 0)] = '\0';
    return Text(std::move(out));
}

std::u16string ansi_to_utf16(const Text& text) {
    int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0) return {};
    std::u16string units(n, u'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()),
                        reinterpret_cast<wchar_t*>(units.data()), n);
    return units;
}

Text utf16_to_ansi(std::u16string_view units) {
    units = units.substr(0, units.find(u'\0'));
    if (units.empty()) return {};
    auto* w = reinterpret_cast<const wchar_t*>(units.data());
    int size = static_cast<int>(units.size());
    int m = WideCharToMultiByte(CP_ACP, 0, w, size, nullptr, 0, nullptr, nullptr);
    if (m <= 0) return {};
    std::string out(m, '\0');
    WideCharToMultiByte(CP_ACP, 0, w, size, out.data(), m, nullptr, nullptr);
    return Text(std::move(out));
}
