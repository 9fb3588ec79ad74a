#include <gtest/gtest.h>

#include "client/md5.h"
#include "client/signing.h"
#include "text/charset.h"

namespace {

Text md5_of(std::string_view s) { return md5_hex(ByteBuffer(std::string(s))); }

TEST(Md5Test, Rfc1321Vectors) {
    struct Case {
        std::string_view in, want;
    } cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& c : cases) EXPECT_EQ(md5_of(c.in), Text(c.want)) << c.in;
    EXPECT_EQ(md5_hex(ByteBuffer(std::string("a\0b", 3))),
              Text("70350f6027bce3713f6b76473084309b"));  // zero bytes are hashed too
}

TEST(Md5Test, ServicePublishedSignExamples) {
    EXPECT_EQ(md5_of("2015063000000001apple143566028812345678"), Text("f89f9594663708c1605f3d736d01d2d4"));
    // 苹果 as typed (code page 936 C6 BB B9 FB) is signed in its UTF-8 form.
    ASSERT_EQ(Text("苹果"), Text("\xC6\xBB\xB9\xFB"));
    Text source = text_concat({"2015063000000001", "苹果", "1435660288", "12345678"});
    EXPECT_EQ(md5_hex(ansi_to_utf8(source)), Text("558fdd96815e4215375bda5c14085cb4"));
}

TEST(SigningTest, PercentEncodeWritesEveryByte) {
    struct Case {
        Text in, want;
    } cases[] = {
        {"abc", "%61%62%63"},
        {"\n", "%0A"},
        {" &+%", "%20%26%2B%25"},
        {"", ""},
        {std::string_view("\xC4\xE3\xFF"), "%C4%E3%FF"},
    };
    for (const auto& c : cases) EXPECT_EQ(percent_encode(c.in), c.want);
}

TEST(SigningTest, UrlPiecesForAFixedSalt) {
    Text sign = md5_of(std::string("52718364950127384") + "abc" + "32768" + "Hq7ZrW2mTfo9YcNp_Lx3");
    Text want = text_concat({"http://api.fanyi.baidu.com/api/trans/vip/translate?appid=", "52718364950127384",
                             "&q=", "%61%62%63", "&from=auto&to=auto&salt=", "32768", "&sign=", sign});
    EXPECT_EQ(build_signed_url("abc", "32768"), want);
    EXPECT_EQ(text_length(sign), 32);
}

TEST(SigningTest, QuerySendsUtf8AndSignsTheRawText) {
    Text hello_zh(std::string_view("\xC4\xE3\xBA\xC3"));  // 你好
    Text url = build_signed_url(hello_zh, "40000");
    EXPECT_NE(text_find(url, "&q=%E4%BD%A0%E5%A5%BD&from="), -1);
    Text sign =
        md5_of(std::string("52718364950127384") + "\xE4\xBD\xA0\xE5\xA5\xBD" + "40000" + "Hq7ZrW2mTfo9YcNp_Lx3");
    EXPECT_EQ(text_right(url, 32), sign);

    Text two_lines = build_signed_url("a\r\nb", "40000");
    EXPECT_NE(text_find(two_lines, "&q=%61%0D%0A%62&"), -1);
    EXPECT_EQ(text_right(two_lines, 32),
              md5_of(std::string("52718364950127384") + "a\r\nb" + "40000" + "Hq7ZrW2mTfo9YcNp_Lx3"));
}

TEST(SigningTest, SaltsAreFiveDigitsFrom32768To65535) {
    for (int i = 0; i < 10000; ++i) {
        Text salt = fresh_salt();
        int value = static_cast<int>(to_number(salt));
        ASSERT_TRUE(text_length(salt) == 5 && value >= 32768 && value <= 65535) << salt.str();
    }
    // The URL carries the salt it signed with.
    for (int i = 0; i < 50; ++i) {
        Text url = build_signed_url("x");
        Text salt = text_mid(url, text_find(url, "&salt=") + 6, 5);
        EXPECT_EQ(url, build_signed_url("x", salt));
    }
}

}  // namespace
