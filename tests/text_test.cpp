#include <gtest/gtest.h>

#include <limits>
#include <set>

#include "text/events.h"
#include "text/text.h"

namespace {

Text bytes(std::initializer_list<unsigned char> b) { return std::string(b.begin(), b.end()); }

TEST(TextTest, NeverHoldsAZeroByte) {
    EXPECT_EQ(Text(std::string_view("A\0B", 3)), Text("A"));
    EXPECT_EQ(Text(std::string("A\0B", 3)), Text("A"));
    EXPECT_EQ(text_concat({"a", std::string_view("\0x", 2), "b"}), Text("a"));
    EXPECT_EQ(to_text(ByteBuffer(std::string("A\0B", 3))), Text("A"));
    EXPECT_EQ(to_text(ByteBuffer()), Text());
}

TEST(TextTest, SlicesClampAndCountFromOne) {
    struct Case {
        Text got, want;
    } cases[] = {
        {text_mid("abc", 0, 2), ""},
        {text_mid("abc", 3, 5), "c"},
        {text_mid("abc", 4, 1), ""},
        {text_mid("abc", 2, 0), ""},
        {text_mid("abc", 1, 2), "ab"},
        {text_left("abc", 5), "abc"},
        {text_left("abc", 0), ""},
        {text_left("abc", -3), ""},
        {text_right("abc", -1), ""},
        {text_right("abc", 2), "bc"},
        {text_right("abc", 9), "abc"},
        {text_replace_at("abcdefghij", 1, 7), "hij"},
        {text_replace_at("abc", 2, 5), "a"},
        {text_replace_at("abc", -4, 1), "bc"},
        {text_replace_at("abc", 9, 1, "X"), "abcX"},
        {text_replace_at("abc", 2, 0, "X"), "aXbc"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.got, c.want);
}

TEST(TextTest, FindStepsOverDoubleByteCharacters) {
    struct Case {
        Text text, needle;
        int start;
        bool ignore_case;
        int want;
    } cases[] = {
        {"abcabc", "c", 1, false, 3},
        {"abcabc", "c", 4, false, 6},
        {"abcabc", "c", 0, false, 3},
        {"abcabc", "c", 7, false, -1},
        {"abc", "", 1, false, 1},
        {"abc", "", 3, false, 1},
        {"", "", 1, false, -1},
        {"abc", "", 4, false, -1},
        {bytes({0xD6, 0xD0, 0x41}), bytes({0xD0, 0x41}), 1, false, -1},
        {bytes({0xD6, 0xD0, 0x41}), "A", 1, false, 3},
        {"xABCx", "abc", 1, true, 2},
        {"xABCx", "abc", 1, false, -1},
        {"ab", "abc", 1, false, -1},
        {bytes({0x41, 0xB0}), bytes({0xB0}), 1, false, 2},  // a lone last lead byte is a character
    };
    for (const auto& c : cases)
        EXPECT_EQ(text_find(c.text, c.needle, c.start, c.ignore_case), c.want)
            << c.text.str() << " / " << c.needle.str();
}

TEST(TextTest, SubstituteNeverRescansOrSplitsACharacter) {
    EXPECT_EQ(text_substitute("aaaa", "aa", "b"), Text("bb"));
    EXPECT_EQ(text_substitute("aaa", "a", "aa"), Text("aaaaaa"));
    EXPECT_EQ(text_substitute("x", "", "y"), Text("x"));
    EXPECT_EQ(text_substitute("", "a", "y"), Text(""));
    // D6 D0 is one character: its trail byte D0 must not start a match of D0 41.
    EXPECT_EQ(text_substitute(bytes({0xD6, 0xD0, 0x41, 0xD0, 0x41}), bytes({0xD0, 0x41}), "#"),
              bytes({0xD6, 0xD0, 0x41, '#'}));
}

TEST(TextTest, CaseMappingKnowsAsciiLettersOnly) {
    EXPECT_EQ(text_upper(bytes({'a', 0x81, 0x61, 'z'})), bytes({'A', 0x81, 0x61, 'Z'}));
    EXPECT_EQ(text_lower(bytes({'A', 0x81, 0x41, 'Z'})), bytes({'a', 0x81, 0x41, 'z'}));
    EXPECT_EQ(text_upper(""), Text());
    EXPECT_EQ(text_lower(""), Text());
    EXPECT_EQ(text_compare("ABC", "abc", false), 0);
    EXPECT_LT(text_compare("abc", "abd", false), 0);
    EXPECT_GT(text_compare("abcd", "ABC", false), 0);
    EXPECT_NE(text_compare("ABC", "abc", true), 0);
}

TEST(TextTest, AbsentIsEmpty) {
    EXPECT_TRUE(text_equal(Text(), ""));
    EXPECT_TRUE(text_equal(Text(nullptr), ""));
    EXPECT_TRUE(bytes_equal(ByteBuffer(), blank_bytes(0)));
    EXPECT_EQ(text_concat({"a", Text(), "b"}), Text("ab"));
    EXPECT_EQ(text_length(Text()), 0);
    EXPECT_EQ(bytes_length(ByteBuffer()), 0);
}

TEST(TextTest, Conversions) {
    EXPECT_EQ(char_from_code(65), Text("A"));
    EXPECT_EQ(char_from_code(321), Text("A"));
    EXPECT_EQ(char_from_code(0), Text());
    EXPECT_EQ(char_from_code(256), Text());
    EXPECT_EQ(char_from_code(-34), bytes({0xDE}));
    EXPECT_EQ(to_hex_text(0), Text("0"));
    EXPECT_EQ(to_hex_text(10), Text("A"));
    EXPECT_EQ(to_hex_text(255), Text("FF"));
    EXPECT_EQ(to_hex_text(-1), Text("FFFFFFFF"));
    EXPECT_EQ(to_text(-5), Text("-5"));
    EXPECT_EQ(to_text(0), Text("0"));
    EXPECT_EQ(to_text(65535), Text("65535"));
    EXPECT_EQ(blank_text(3), Text("   "));
    EXPECT_EQ(blank_text(0), Text());
    EXPECT_EQ(blank_bytes(-1), ByteBuffer());
    EXPECT_EQ(blank_bytes(4), ByteBuffer(std::string(4, '\0')));
    EXPECT_EQ(to_bytes(""), ByteBuffer());
    EXPECT_EQ(to_bytes("ab"), ByteBuffer(std::string("ab")));
}

TEST(TextTest, ToNumberReadsTheLeadingDecimalNumber) {
    struct Case {
        Text text;
        double want;
    } cases[] = {
        {"80", 80},
        {bytes({0xA3, 0xB8, 0xA3, 0xB0}), 80},
        {"abc", 0},
        {"", 0},
        {"12x", 12},
        {"  -3.5e2z", -350},
        {"+7", 7},
        {"1e", 1},
        {".5", 0.5},
        {"--5", 0},
        {"inf", 0},
        {"0x1A", 0},
        {bytes({0xA1, 0xA1, 0xA3, 0xB9}), 9},  // full-width space, then 9
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(to_number(c.text), c.want) << c.text.str();
}

TEST(TextTest, TruncationTowardZeroStaysInRange) {
    struct Case {
        double in;
        std::int32_t want;
    } cases[] = {
        {-0.5, 0},         {296.5, 296},       {-1.5, -1},
        {1e12, INT32_MAX}, {-1e12, INT32_MIN}, {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(truncate_to_int(c.in), c.want) << c.in;
}

TEST(BytesTest, SlicesJoinsAndSubstitutes) {
    ByteBuffer abc(std::string("abc"));
    EXPECT_EQ(bytes_left(abc, 2), ByteBuffer(std::string("ab")));
    EXPECT_EQ(bytes_left(abc, 0), ByteBuffer());
    EXPECT_EQ(bytes_right(abc, 1), ByteBuffer(std::string("c")));
    EXPECT_EQ(bytes_right(abc, 7), abc);
    EXPECT_EQ(bytes_concat({abc, ByteBuffer(), abc}), ByteBuffer(std::string("abcabc")));
    EXPECT_EQ(bytes_concat({ByteBuffer(), ByteBuffer()}), ByteBuffer());
    ByteBuffer cr_lf_cr(std::string("\r\n\r"));
    EXPECT_EQ(bytes_substitute(cr_lf_cr, ByteBuffer(std::string("\r")), ByteBuffer(), 1),
              ByteBuffer(std::string("\n\r")));
    EXPECT_EQ(bytes_substitute(cr_lf_cr, ByteBuffer(std::string("\r")), ByteBuffer(), 0), cr_lf_cr);
    EXPECT_EQ(bytes_substitute(ByteBuffer(std::string("aXaXa")), ByteBuffer(std::string("X")),
                               ByteBuffer(std::string("\0", 1)), 5),
              ByteBuffer(std::string("a\0a\0a", 5)));
}

TEST(BytesTest, ReadValueIsLittleEndianAndZeroFilled) {
    EXPECT_EQ(bytes_read_value(ByteBuffer(std::string("\xC8")), 3), 200);
    EXPECT_EQ(bytes_read_value(ByteBuffer(), 3), 0);
    EXPECT_EQ(bytes_read_value(ByteBuffer(std::string("\x01\x02\x03\x04\x05")), 3), 67305985);
    EXPECT_EQ(bytes_read_value(ByteBuffer(std::string("\xFF\xFF\xFF\xFF")), 3), -1);
    ByteBuffer b = blank_bytes(2);
    b.set(2, 0x7F);
    EXPECT_EQ(b.at(2), 0x7F);
}

TEST(NumbersTest, BitsAndRandom) {
    EXPECT_EQ(shift_right(0xAB, 4), 0x0A);
    EXPECT_EQ(bit_and(0xAB, 15), 0x0B);
    EXPECT_EQ(shift_right(-16, 2), -4);
    EXPECT_EQ(shift_right(256, 36), 16);  // bits count modulo 32
    seed_random();
    EXPECT_EQ(random_int(5, 5), 5);
    EXPECT_EQ(random_int(-3, -9), 0);
    for (int i = 0; i < 1000; ++i) {
        int r = random_int(10, 3);
        ASSERT_TRUE(r >= 3 && r <= 10) << r;
    }
}

TEST(NumbersTest, SeedingTwiceInOneMillisecondGivesDifferentDraws) {
    std::set<int> draws;
    for (int i = 0; i < 20; ++i) {
        seed_random();
        draws.insert(random_int(32768, 65536));
    }
    EXPECT_GT(draws.size(), 15u);
}

TEST(EventsTest, PumpReturnsAtOnceWithNothingQueued) {
    static int calls = 0;
    observe_process_events([] { ++calls; });
    std::int32_t start = uptime_ms();
    process_events();
    observe_process_events(nullptr);
    process_events();
    EXPECT_EQ(calls, 1);
    EXPECT_LT(uptime_ms() - start, 1000);
}

}  // namespace
