// Reply decoding. Expected results are code page 936 bytes written out in hexadecimal
// (你 C4 E3, 好 BA C3, 上 C9 CF, 不 B2 BB, ’ A1 AF, 达到 B4 EF B5 BD).
#include <gtest/gtest.h>

#include <string>

#include "client/decode.h"
#include "text/charset.h"

namespace {

struct Case {
    const char* what;
    std::string input;
    std::string expected;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.what; }

class UnescapeUnicode : public testing::TestWithParam<Case> {};

TEST_P(UnescapeUnicode, DecodesLikeTheScriptLiteral) {
    EXPECT_EQ(unescape_unicode(Text(GetParam().input)).str(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Escapes, UnescapeUnicode,
    testing::Values(
        Case{"unicode escapes", R"(\u4f60\u597d)", "\xC4\xE3\xBA\xC3"},
        Case{"upper-case digits", R"(\u4F60)", "\xC4\xE3"}, Case{"json escapes", R"(\"a\\b\/c\')", "\"a\\b/c'"},
        Case{"control escapes", R"(\b\f\n\r\t)", "\b\f\n\r\t"}, Case{"\\v is the letter v", R"(\v)", "v"},
        Case{"backslash before another character", R"(\q\%\{)", "q%{"},
        Case{"backslash before a double-byte character", "\\\xC4\xE3", "\xC4\xE3"},
        Case{"hex escapes", R"(\x41\x4a)", "AJ"}, Case{"hex escape short of two digits", R"(\x4 \xg)", "x4 xg"},
        Case{"octal, three digits at most", R"(\101\1011)", "AA1"},
        Case{"octal from 4 takes two digits", R"(\477)", "'7"},
        Case{"octal single digits", R"(\7\8)",
             "\x07"
             "8"},
        Case{"decoded U+0000 ends the text", R"(a\0b\u0000c)", "a"},
        Case{"surrogate pair the code page lacks", R"(\ud83d\ude00!)",
             "?"
             "?!"},
        Case{"lone surrogate", R"(\ud83d)", "?"}, Case{"character the code page lacks", R"(\uac00)", "?"},
        Case{"trail byte 0x5C is no backslash", "\x81\x5Cn\x81\x5C", "\x81\x5Cn\x81\x5C"}, Case{"empty", "", ""}));

INSTANTIATE_TEST_SUITE_P(MendedFaults, UnescapeUnicode,
                         testing::Values(Case{"right single quote stays", R"(\u2018a\u2019 it's)",
                                              "\xA1\xAE"
                                              "a\xA1\xAF it's"},
                                         Case{"raw right single quote stays", "\xA1\xAF'", "\xA1\xAF'"},
                                         Case{"{$} stays", R"({$}a{$})", "{$}a{$}"},
                                         Case{"percent is not unescaped", "\xB4\xEF\xB5\xBD%41 %u0041 %",
                                              "\xB4\xEF\xB5\xBD%41 %u0041 %"},
                                         Case{"escaped backslash before u", R"(\\u0041)", R"(\u0041)"},
                                         Case{"\\u short of four digits", R"(\u12\u0041 \u)", R"(\u12A \u)"},
                                         Case{"\\u with a non-digit", R"(\u12G4)", R"(\u12G4)"}));

INSTANTIATE_TEST_SUITE_P(LineBreaks, UnescapeUnicode,
                         testing::Values(Case{"CR LF comes through", "a\r\nb\r\n", "a\r\nb\r\n"},
                                         Case{"escaped CR LF stays a line break", "a\\\r\nb", "a\r\nb"},
                                         Case{"leading lone CR removed", "\ra\r\nb", "a\r\nb"},
                                         Case{"leading lone CR before CR LF removed", "\r\r\na", "\r\na"},
                                         Case{"lone CR alone", "\r", ""}));

// When the script engine would refuse the text, its bytes are read back as UTF-16:
// "`O" is U+4F60, "\nN" U+4E0A, "\rN" U+4E0D, two backslashes U+5C5C (8C CF).
INSTANTIATE_TEST_SUITE_P(
    Fallback, UnescapeUnicode,
    testing::Values(Case{"lone LF", "`O\nN", "\xC4\xE3\xC9\xCF"}, Case{"lone CR inside", "`O\rN", "\xC4\xE3\xB2\xBB"},
                    Case{"leading lone CR removed before the re-reading", "\r`O\nN", "\xC4\xE3\xC9\xCF"},
                    Case{"escaped lone LF", "`O\\\n", "\xC4\xE3?"},
                    Case{"unpaired trailing backslash", "`O\\", "\xC4\xE3"},
                    Case{"paired trailing backslashes decode", "`O\\\\", "`O\\"},
                    Case{"odd backslash run at the end", "`O\\\\\\", "\xC4\xE3\x8C\xCF"}));

class PercentDecode : public testing::TestWithParam<Case> {};

TEST_P(PercentDecode, DecodesBytesThenUtf8) {
    EXPECT_EQ(percent_decode(Text(GetParam().input)).str(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PercentDecode,
    testing::Values(Case{"ascii", "%41%42", "AB"},
                    Case{"utf-8 of either case", "%e4%bd%a0%E5%A5%BD", "\xC4\xE3\xBA\xC3"},
                    Case{"no percent", "abc {}", "abc {}"}, Case{"raw utf-8", "\xE4\xBD\xA0", "\xC4\xE3"},
                    Case{"percent at the end dropped", "ab%", "ab"}, Case{"one digit at the end", "a%4", "a@"},
                    Case{"%00 adds nothing", "a%00b", "ab"}, Case{"digit then non-digit", "%4z", ">"},
                    Case{"non-digit then digit", "%z4%bd%a0", "\xC4\xE3"},
                    Case{"percent takes any two bytes", "%%41", "?1"}));

struct BetweenCase {
    const char* what;
    std::string text, start, end, expected;
};

void PrintTo(const BetweenCase& c, std::ostream* os) { *os << c.what; }

class TextBetween : public testing::TestWithParam<BetweenCase> {};

TEST_P(TextBetween, FindsFirstValue) {
    const BetweenCase& c = GetParam();
    EXPECT_EQ(text_between(Text(c.text), Text(c.start), Text(c.end)).str(), c.expected);
}

const std::string quote_token = "#\xD2\xFD\xBA\xC5";  // "#引号"

INSTANTIATE_TEST_SUITE_P(
    Cases, TextBetween,
    testing::Values(BetweenCase{"dst value", "{\"dst\":\"\xC4\xE3\xBA\xC3\"}", "dst\":\"", "\"", "\xC4\xE3\xBA\xC3"},
                    BetweenCase{"first of several", "\"dst\":\"a\",\"dst\":\"b\"", "dst\":\"", "\"", "a"},
                    BetweenCase{"no end marker", "\"dst\":\"abc", "dst\":\"", "\"", ""},
                    BetweenCase{"no start marker", "\"src\":\"abc\"", "dst\":\"", "\"", ""},
                    BetweenCase{"markers adjacent", "\"dst\":\"\"", "dst\":\"", "\"", ""},
                    BetweenCase{"end sought after the start marker", "a\"b\"", "a\"", "\"", "b"},
                    BetweenCase{"quote token", "{\"dst\":\"\xC4\xE3\"}", "dst" + quote_token + ":" + quote_token,
                                quote_token, "\xC4\xE3"},
                    BetweenCase{"empty text", "", "dst\":\"", "\"", ""}));

TEST(StreamUnicodeText, ReadsLittleEndianUtf16) {
    EXPECT_EQ(stream_unicode_text(ByteBuffer(std::string("\x60\x4F\x7D\x59", 4))).str(), "\xC4\xE3\xBA\xC3");
    EXPECT_EQ(stream_unicode_text(ByteBuffer(std::string("A\0B\0", 4))).str(), "AB");
    EXPECT_EQ(stream_unicode_text(ByteBuffer(std::string("\x60\x4F\x7D", 3))).str(), "\xC4\xE3");  // odd byte dropped
    EXPECT_EQ(stream_unicode_text(ByteBuffer(std::string("A\0\0\0B\0", 6))).str(), "A");  // U+0000 ends the text
    EXPECT_EQ(stream_unicode_text(ByteBuffer()).str(), "");
    // No byte-order mark handling: FF FE is U+FEFF like any other unit.
    EXPECT_EQ(stream_unicode_text(ByteBuffer(std::string("\xFF\xFE\x60\x4F", 4))), utf16_to_ansi(u"\uFEFF\u4F60"));
}

// The whole road of a reply: percent escapes, then literal escapes, then the dst value.
TEST(DecodeReply, KeepsQuotesPercentsAndTokensOfTheTranslation) {
    Text body =
        R"({"from":"en","to":"zh","trans_result":[{"src":"it's {$}","dst":"\u2018\u4f60\u2019 it's {$} \\u0041 \"x\""}]})";
    Text plain = unescape_unicode(percent_decode(body));
    EXPECT_EQ(text_between(plain, "dst\":\"", "\"").str(), "\xA1\xAE\xC4\xE3\xA1\xAF it's {$} \\u0041 ");
}

}  // namespace
