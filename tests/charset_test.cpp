#include <gtest/gtest.h>

#include "text/charset.h"

namespace {

ByteBuffer raw(std::string_view s) { return ByteBuffer(std::string(s)); }
Text gbk(std::initializer_list<unsigned char> b) { return std::string(b.begin(), b.end()); }

TEST(CharsetTest, AnsiToUtf8) {
    struct Case {
        Text in;
        std::string_view want;
    } cases[] = {
        {"", ""},
        {"abc", "abc"},
        {gbk({0xC4, 0xE3, 0xBA, 0xC3}), "\xE4\xBD\xA0\xE5\xA5\xBD"},  // 你好
        {gbk({0x80}), "\xE2\x82\xAC"},                                // the euro sign of code page 936
        {gbk({0xA1, 0xAF}), "\xE2\x80\x99"},                          // ’
        {"a\r\nb", "a\r\nb"},
    };
    for (const auto& c : cases) EXPECT_EQ(ansi_to_utf8(c.in), raw(c.want)) << c.in.str();
}

TEST(CharsetTest, Utf8ToAnsi) {
    struct Case {
        std::string_view in;
        Text want;
    } cases[] = {
        {"", ""},
        {"\xE4\xBD\xA0\xE5\xA5\xBD",
         gbk({0xC4, 0xE3, 0xBA, 0xC3})},  // last byte 0xBD: nothing appended, nothing trailing
        {"{\"dst\":\"x\"}", "{\"dst\":\"x\"}"},
        {"ab\x7F", "ab\x7F"},
        {std::string_view("A\0B", 3), "A"},
        {"\xF0\x9F\x98\x80!",
         "??"
         "!"},  // a character outside the code page: one "?" per UTF-16 unit
        {"\xE2\x82\xAC", gbk({0x80})},
        {"ab\xC3", "ab?"},  // a cut sequence at the end
        {"a\xFF"
         "b",
         "a?b"},                          // a byte that starts nothing
        {"\xC3\xA9", gbk({0xA8, 0xA6})},  // é
    };
    for (const auto& c : cases) EXPECT_EQ(utf8_to_ansi(raw(c.in)), c.want) << c.in;
}

TEST(CharsetTest, Utf16ToAnsiReplacesEachUnmappedUnit) {
    EXPECT_EQ(utf16_to_ansi(u"\u4F60\u597D"), gbk({0xC4, 0xE3, 0xBA, 0xC3}));
    EXPECT_EQ(utf16_to_ansi(u"a\U0001F600b"), Text("a??b"));
    EXPECT_EQ(utf16_to_ansi(std::u16string_view(u"a\0b", 3)), Text("a"));
    EXPECT_EQ(utf16_to_ansi(std::u16string(1, char16_t(0xD800)) + u"x"), Text("?x"));
    EXPECT_EQ(utf16_to_ansi(u""), Text());
}

TEST(CharsetTest, AnsiToUtf16) {
    EXPECT_EQ(ansi_to_utf16(gbk({0xC4, 0xE3, 'a', 0xBA, 0xC3})), u"\u4F60a\u597D");
    EXPECT_EQ(ansi_to_utf16(""), u"");
}

TEST(CharsetTest, ManyUnmappableCharactersStayCheap) {
    // 64 Ki characters the code page lacks, half of them outside the BMP: linear, not quadratic.
    std::u16string units;
    for (int i = 0; i < 32768; ++i) units += u"\uAC00\U0001F600";
    Text text = utf16_to_ansi(units);
    EXPECT_EQ(text_length(text), 3 * 32768);
    EXPECT_EQ(text_left(text, 6), Text("??????"));
}

TEST(CharsetTest, RoundTripsEveryTwoByteCharacter) {
    // Every character of the code page's main block survives the trip through UTF-8.
    std::string all;
    for (int lead = 0xB0; lead <= 0xF7; ++lead)
        for (int trail = 0xA1; trail <= 0xFE; ++trail)
            if (!(lead == 0xD7 && trail >= 0xFA)) all += {char(lead), char(trail)};
    Text text(all);
    EXPECT_EQ(utf8_to_ansi(ansi_to_utf8(text)), text);
}

}  // namespace
