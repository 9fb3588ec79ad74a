// Text and ByteBuffer, the two value types every layer speaks, and their operations.
//
// Text: code page 936 bytes ending at the first zero byte, so it never holds one.
// ByteBuffer: any bytes, zeros included. Absent and empty are the same value.
// Positions are 1-based; a byte of 0x80 or above starts a two-byte character.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

class Text {
public:
    Text() = default;
    Text(const char* s) : Text(std::string_view(s ? s : "")) {}
    Text(std::string_view s) : bytes_(s.substr(0, s.find('\0'))) {}
    Text(std::string s) : bytes_(std::move(s)) {
        if (auto zero = bytes_.find('\0'); zero != std::string::npos) bytes_.resize(zero);
    }

    const char* c_str() const { return bytes_.c_str(); }
    std::string_view view() const { return bytes_; }
    const std::string& str() const { return bytes_; }
    std::size_t size() const { return bytes_.size(); }
    bool empty() const { return bytes_.empty(); }
    operator std::string_view() const { return bytes_; }

    friend bool operator==(const Text&, const Text&) = default;

private:
    std::string bytes_;
};

class ByteBuffer {
public:
    ByteBuffer() = default;
    explicit ByteBuffer(std::string bytes) : bytes_(std::move(bytes)) {}
    ByteBuffer(const void* data, std::size_t n) : bytes_(static_cast<const char*>(data), n) {}

    // 1-based, as the rest of the system counts.
    unsigned char at(int index) const { return static_cast<unsigned char>(bytes_[index - 1]); }
    void set(int index, unsigned char value) { bytes_[index - 1] = static_cast<char>(value); }

    unsigned char* data() { return reinterpret_cast<unsigned char*>(bytes_.data()); }
    const unsigned char* data() const { return reinterpret_cast<const unsigned char*>(bytes_.data()); }
    std::string_view view() const { return bytes_; }
    std::size_t size() const { return bytes_.size(); }
    bool empty() const { return bytes_.empty(); }
    operator std::string_view() const { return bytes_; }

    friend bool operator==(const ByteBuffer&, const ByteBuffer&) = default;

private:
    std::string bytes_;
};

// Operations on Text.
int text_length(const Text& text);
Text text_left(const Text& text, int n);
Text text_right(const Text& text, int n);
Text text_mid(const Text& text, int start, int n);
int text_find(const Text& text, const Text& needle, int start = 1, bool ignore_case = false);
Text text_replace_at(const Text& text, int start, int n, const Text& replacement = {});
Text text_substitute(const Text& text, const Text& find, const Text& replacement);
int text_compare(const Text& a, const Text& b, bool case_sensitive);
bool text_equal(const Text& a, const Text& b);
Text text_concat(std::initializer_list<std::string_view> parts);
Text text_upper(const Text& text);
Text text_lower(const Text& text);

// Conversions.
Text char_from_code(int code);
Text blank_text(int n);
Text to_text(std::int32_t value);
Text to_text(const ByteBuffer& buffer);
Text to_text(const Text& text);
double to_number(const Text& text);
// A floating-point value stored as an integer: truncated toward zero, held within int32 (NaN gives 0).
std::int32_t truncate_to_int(double value);
Text to_hex_text(std::int32_t value);
ByteBuffer to_bytes(const Text& text);

// Operations on ByteBuffer.
int bytes_length(const ByteBuffer& buffer);
ByteBuffer bytes_left(const ByteBuffer& buffer, int n);
ByteBuffer bytes_right(const ByteBuffer& buffer, int n);
ByteBuffer bytes_substitute(const ByteBuffer& buffer, const ByteBuffer& find, const ByteBuffer& replacement, int count);
ByteBuffer bytes_concat(std::initializer_list<std::string_view> parts);
bool bytes_equal(const ByteBuffer& a, const ByteBuffer& b);
ByteBuffer blank_bytes(int n);
// Only type code 3 (signed 32-bit little-endian) is known; others read as 0.
double bytes_read_value(const ByteBuffer& buffer, int type_code);

// Numbers.
std::int32_t bit_and(std::int32_t a, std::int32_t b);
std::int32_t shift_right(std::int32_t value, int bits);
void seed_random();
std::int32_t random_int(std::int32_t min, std::int32_t max);
