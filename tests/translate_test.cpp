#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "client/md5.h"
#include "client/signing.h"
#include "client/translate.h"
#include "tests/standin.h"
#include "text/charset.h"

namespace {

HttpReply reply(std::string_view body, int status = 200, HttpOutcome outcome = HttpOutcome::completed) {
    return {Text(body), outcome, status};
}

TEST(TranslationFromReplyTest, TakesEveryDstAsAJsonString) {
    struct Case {
        std::string_view body;
        Text want;
    } cases[] = {
        {R"({"from":"en","to":"zh","trans_result":[{"src":"hello","dst":"\u4f60\u597d"}]})", "你好"},
        // One entry per line of the source, joined as the lines were.
        {R"({"trans_result":[{"src":"hello","dst":"\u4f60\u597d"},{"src":"world","dst":"\u4e16\u754c"}]})",
         "你好\r\n世界"},
        // A quote, a percent sign, ’ and a character outside the code page stay what they are.
        {R"({"trans_result":[{"src":"x","dst":"\u4ed6\u8bf4\"\u4f60\u597d\" 50%41 \u2018a\u2019 \ud83d\ude00"}]})",
         "他说\"你好\" 50%41 ‘a’ ??"},
        {R"({"trans_result":[{"src":"x","dst":"a\/b\\c"}]})", "a/b\\c"},
        // Raw UTF-8 in the reply is read as UTF-8, never %-decoded.
        {"{\"trans_result\":[{\"src\":\"x\",\"dst\":\"\xE4\xBD\xA0%E5\"}]}", "你%E5"},
        {R"({ "trans_result" : [ { "src" : "x" , "dst" : "spaced" } ] })", "spaced"},
        {R"({"trans_result":[{"src":"x","dst":""}]})", ""},
    };
    for (const auto& c : cases) {
        Translation t = translation_from_reply(reply(c.body));
        EXPECT_TRUE(t.ok) << c.body << " " << t.reason.str();
        EXPECT_EQ(t.text, c.want) << c.body;
    }
}

TEST(TranslationFromReplyTest, FailuresCarryAReasonAndNoText) {
    struct Case {
        HttpReply in;
        Text reason;
    } cases[] = {
        {reply("", 0, HttpOutcome::cannot_connect), "无法连接到翻译服务，请检查网络"},
        {reply("", 0, HttpOutcome::timed_out), "翻译服务在规定时间内没有应答"},
        {reply(R"({"trans_result":[{"src":"x","dst":"cut)", 200, HttpOutcome::dropped), "接收译文时连接中断"},
        {reply("<html>Not Found</html>", 404), "翻译服务返回 HTTP 状态 404"},
        {reply("", 500), "翻译服务返回 HTTP 状态 500"},
        {reply(""), "翻译服务的答复中没有译文"},
        {reply(R"({"from":"en","to":"zh"})"), "翻译服务的答复中没有译文"},
        {reply(R"({"trans_result":[{"src":"x","dst":"never closed)"), "翻译服务的答复中没有译文"},
        {reply(R"({"error_code":"54001","error_msg":"Invalid Sign"})"),
         "错误 54001 Invalid Sign（签名错误，请检查密钥）"},
        {reply(R"({"error_code":52003,"error_msg":"UNAUTHORIZED USER"})"),
         "错误 52003 UNAUTHORIZED USER（未授权用户，请检查 appid 是否正确）"},
        {reply(R"({"error_code":"59999","error_msg":"Something"})"), "错误 59999 Something"},
        {reply(R"({"error_code":"54003","error_msg":"Invalid Access Limit"})", 500),
         "错误 54003 Invalid Access Limit（访问频率受限，请稍后再试）"},
    };
    for (const auto& c : cases) {
        Translation t = translation_from_reply(c.in);
        EXPECT_FALSE(t.ok) << c.in.body.str();
        EXPECT_EQ(t.text, Text());
        EXPECT_EQ(t.reason, c.reason) << c.in.body.str();
    }
}

TEST(TranslationFromReplyTest, EveryCommonErrorCodeHasAHint) {
    for (const char* code :
         {"52001", "52002", "52003", "54000", "54001", "54003", "54004", "54005", "58000", "58001", "58002"}) {
        Translation t =
            translation_from_reply(reply(text_concat({R"({"error_code":")", code, R"(","error_msg":"m"})"}).str()));
        EXPECT_FALSE(t.ok);
        EXPECT_NE(text_find(t.reason, "（"), -1) << code;
    }
}

// The whole road against the stand-in: the signed URL as built, sent to 127.0.0.1 in place of the service.
class PipelineTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(stand_in().port, 0) << "run through ctest: it starts the stand-in service"; }

    static Translation translate_locally(const Text& source) {
        return translation_from_reply(http_request(redirected_to_stand_in(build_signed_url(source))));
    }
};

TEST_F(PipelineTest, TranslatesLikeTheService) {
    struct Case {
        Text source, want;
    } cases[] = {
        {"hello", "你好"},
        {"你好", "Hello"},
        {"hello\r\nworld", "你好\r\n世界"},
        {"and/or", "和/或"},
    };
    for (const auto& c : cases) {
        Translation t = translate_locally(c.source);
        EXPECT_TRUE(t.ok) << c.source.str() << ": " << t.reason.str();
        EXPECT_EQ(t.text, c.want) << c.source.str();
    }
}

TEST_F(PipelineTest, ServiceErrorsAreReported) {
    Text url = redirected_to_stand_in(build_signed_url("hello"));
    Text bad_sign = text_concat({text_left(url, text_length(url) - 32), "00000000000000000000000000000000"});
    Text other_app = text_substitute(url, "appid=52718364950127384", "appid=11111111111111111");
    Text empty_q = text_substitute(url, "&q=%68%65%6C%6C%6F&", "&q=&");
    struct Case {
        Text url, code;
    } cases[] = {{bad_sign, "54001"}, {other_app, "52003"}, {empty_q, "54000"}};
    for (const auto& c : cases) {
        Translation t = translation_from_reply(http_request(c.url));
        EXPECT_FALSE(t.ok);
        EXPECT_EQ(text_find(t.reason, text_concat({"错误 ", c.code})), 1) << t.reason.str();
    }
}

TEST_F(PipelineTest, FaultsGiveTheTranslationOrTheReason) {
    struct Case {
        std::string modes;
        bool ok;
        Text reason;
    } cases[] = {
        {"slow=300", true, ""},
        {"drip=2", true, ""},
        {"chunked=7", true, ""},
        {"big=2097152", true, ""},
        {"big=1500,drop=700", false, "接收译文时连接中断"},
        {"404", false, "翻译服务返回 HTTP 状态 404"},
        {"500", false, "翻译服务返回 HTTP 状态 500"},
        {"empty", false, "翻译服务的答复中没有译文"},
        {"zero=30", false, "翻译服务的答复中没有译文"},
    };
    for (const auto& c : cases) {
        Translation t = translation_from_reply(http_request(fault_url(c.modes)));
        EXPECT_EQ(t.ok, c.ok) << c.modes << ": " << t.reason.str();
        EXPECT_EQ(t.reason, c.reason) << c.modes;
    }
    Translation refused = translation_from_reply(http_request(service_url("q=x", stand_in().refused_port)));
    EXPECT_EQ(refused.reason, Text("无法连接到翻译服务，请检查网络"));
}

}  // namespace
