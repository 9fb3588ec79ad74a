#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "client/http.h"
#include "client/md5.h"
#include "client/url.h"
#include "tests/standin.h"
#include "text/events.h"

namespace {

class HttpTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(stand_in().port, 0) << "no standin.port here: run through ctest, or start "
                                         "tools/standin.py --port-file standin.port in this directory";
    }
};

// The body the stand-in sends for fault mode big=size.
std::string big_body(std::size_t size) {
    std::string body = "{\"from\":\"en\",\"to\":\"zh\",\"trans_result\":[{\"src\":\"big\",\"dst\":\"";
    const std::string tail = "\"}]}";
    for (int digit = 0; body.size() + tail.size() < size; digit = (digit + 1) % 10) body += char('0' + digit);
    return body + tail;
}

int count_lines_starting(const std::string& head, const std::string& name) {
    int count = 0;
    for (auto at = head.find("\r\n" + name); at != std::string::npos; at = head.find("\r\n" + name, at + 2)) ++count;
    return count;
}

TEST_F(HttpTest, RequestAsTheServiceReceivesIt) {
    // The fetch connects directly: a proxy named by the environment is never used.
    static std::string proxy = "http_proxy=http://127.0.0.1:" + std::to_string(stand_in().refused_port);
    putenv(proxy.data());
    Text url = fault_url("echo");
    HttpReply reply = http_request(url);
    putenv(const_cast<char*>("http_proxy="));

    ASSERT_EQ(reply.outcome, HttpOutcome::completed);
    EXPECT_EQ(reply.status, 200);
    const std::string& head = reply.body.str();
    EXPECT_EQ(head.substr(0, head.find("\r\n")), "GET " + url_path(url).str() + " HTTP/1.1");
    EXPECT_NE(head.find("\r\n" + extra_header_block(url).str()), std::string::npos) << head;
    EXPECT_NE(head.find("\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n"), std::string::npos)
        << head;
    EXPECT_NE(head.find("\r\nHost: 127.0.0.1:" + std::to_string(stand_in().port) + "\r\n"), std::string::npos) << head;
    for (const char* name : {"Accept:", "Referer:", "Accept-Language:", "User-Agent:", "Host:"})
        EXPECT_EQ(count_lines_starting(head, name), 1) << name << "\n" << head;
    EXPECT_EQ(head.substr(head.size() - 4), "\r\n\r\n");
}

TEST_F(HttpTest, BodyIsReturnedUpToItsFirstZeroByte) {
    const std::string big = big_body(1500);
    struct Case {
        std::string modes;
        int status;
        std::string body;
    } cases[] = {
        {"big=1500", 200, big},  // three reads of 512 and a short one
        {"big=1500,chunked=7", 200, big},
        {"big=1500,chunked=512", 200, big},
        {"big=2097152", 200, big_body(2097152)},
        {"big=700,drip=1", 200, big_body(700)},
        {"empty", 200, ""},
        {"big=1500,zero=4", 200, big.substr(0, 4)},
        {"big=1500,zero=0", 200, ""},
        {"big=1500,zero=600", 200, big.substr(0, 600)},
        {"404", 404, "<html><body>404 Not Found</body></html>"},
        {"500", 500, "<html><body>500 Internal Server Error</body></html>"},
    };
    for (const auto& c : cases) {
        HttpReply reply = http_request(fault_url(c.modes));
        EXPECT_EQ(reply.outcome, HttpOutcome::completed) << c.modes;
        EXPECT_EQ(reply.status, c.status) << c.modes;
        EXPECT_EQ(reply.body.size(), c.body.size()) << c.modes;
        EXPECT_TRUE(reply.body.str() == c.body) << c.modes;
    }
}

TEST_F(HttpTest, BrokenConnectionKeepsWhatWasRead) {
    const std::string big = big_body(1500);
    struct Case {
        std::string modes;
        std::string body;
    } cases[] = {
        {"big=1500,drop=700", big.substr(0, 700)},              // reset by the peer
        {"big=1500,cut=700", big.substr(0, 700)},               // closed short of its Content-Length
        {"big=1500,chunked=100,drop=530", big.substr(0, 500)},  // five whole chunks of 106 bytes on the wire
    };
    for (const auto& c : cases) {
        HttpReply reply = http_request(fault_url(c.modes));
        EXPECT_EQ(reply.outcome, HttpOutcome::dropped) << c.modes;
        EXPECT_EQ(reply.status, 200) << c.modes;
        EXPECT_TRUE(reply.body.str() == c.body) << c.modes << ": " << reply.body.size() << " bytes";
    }
}

TEST_F(HttpTest, RefusedConnectionGivesNothingAtOnce) {
    std::int32_t start = uptime_ms();
    HttpReply reply = http_request(service_url("q=x", stand_in().refused_port));
    EXPECT_LT(uptime_ms() - start, 10000);  // far below the 18 s time-out
    EXPECT_EQ(reply.outcome, HttpOutcome::cannot_connect);
    EXPECT_EQ(reply.status, 0);
    EXPECT_TRUE(reply.body.empty());
}

// Waits out the 18 s time-out. WinInet under Wine may report the silent connection as broken
// rather than timed out, so only "not completed" is common ground.
TEST_F(HttpTest, SilentServiceIsGivenUpWithWhatWasRead) {
    HttpReply reply = http_request(fault_url("big=1500,stall=700"));
    EXPECT_NE(reply.outcome, HttpOutcome::completed);
    EXPECT_NE(reply.outcome, HttpOutcome::cannot_connect);
    EXPECT_EQ(reply.status, 200);
    EXPECT_TRUE(reply.body.str() == big_body(1500).substr(0, 700)) << reply.body.size() << " bytes";
}

// The stand-in's own contract, which the translate tests build on.
TEST_F(HttpTest, StandInAnswersLikeTheService) {
    auto signed_query = [](const std::string& appid, const std::string& q_utf8, const std::string& q_encoded) {
        Text sign = md5_hex(ByteBuffer(appid + q_utf8 + "32768" + "Hq7ZrW2mTfo9YcNp_Lx3"));
        return "appid=" + appid + "&q=" + q_encoded + "&from=auto&to=auto&salt=32768&sign=" + sign.str();
    };
    struct Case {
        std::string query, body;
    } cases[] = {
        {signed_query("52718364950127384", "hello", "%68%65%6C%6C%6F"),
         R"({"from":"en","to":"zh","trans_result":[{"src":"hello","dst":"\u4f60\u597d"}]})"},
        {signed_query("52718364950127384", "\xE4\xBD\xA0\xE5\xA5\xBD\r\nand/or", "%E4%BD%A0%E5%A5%BD%0D%0Aand%2For"),
         R"({"from":"zh","to":"en","trans_result":[{"src":"\u4f60\u597d","dst":"Hello"},)"
         R"({"src":"and\/or","dst":"\u548c\/\u6216"}]})"},
        {signed_query("52718364950127384", "hello", "%68%65%6C%6C%6F") + "0",
         R"({"error_code":"54001","error_msg":"Invalid Sign"})"},
        {signed_query("12345", "hello", "%68%65%6C%6C%6F"),
         R"({"error_code":"52003","error_msg":"UNAUTHORIZED USER"})"},
        {signed_query("52718364950127384", "", ""), R"({"error_code":"54000","error_msg":"PARAM_FROM_TO_OR_Q_EMPTY"})"},
    };
    for (const auto& c : cases) {
        HttpReply reply = http_request(service_url(c.query));
        EXPECT_EQ(reply.outcome, HttpOutcome::completed) << c.query;
        EXPECT_EQ(reply.body, Text(c.body)) << c.query;
    }
}

}  // namespace
