#include <gtest/gtest.h>

#include "client/url.h"

namespace {

TEST(UrlTest, HostPortAndPath) {
    struct Case {
        Text url, host;
        int port;
        Text path;
    } cases[] = {
        {"http://api.fanyi.baidu.com/api/trans/vip/translate?appid=1&q=%61&sign=", "api.fanyi.baidu.com", 80,
         "/api/trans/vip/translate?appid=1&q=%61&sign="},
        {"http://Host:8080/x", "host", 8080, "/x"},
        {"http://example.com", "example.com", 80, "/"},
        {"HTTP://Example.COM:81", "example.com", 81, "/"},
        {"http://host:/x", "host", 0, "/x"},                      // no digits: port 0, which the transports take as 80
        {"http://host:99999999999/x", "host", 2147483647, "/x"},  // held in range, never undefined
        // A colon or slash after the authority belongs to the path.
        {"http://127.0.0.1:5000/a:b?next=/c:d", "127.0.0.1", 5000, "/a:b?next=/c:d"},
        // Host names that also occur inside the scheme.
        {"http://t/x", "t", 80, "/x"},
        {"http://HTTP:8/p/q", "http", 8, "/p/q"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(url_host(c.url), c.host) << c.url.view();
        EXPECT_EQ(url_port(c.url), c.port) << c.url.view();
        EXPECT_EQ(url_path(c.url), c.path) << c.url.view();
    }
}

TEST(UrlTest, HeaderBlockCarriesTheUrlAsReferer) {
    Text url = "http://api.fanyi.baidu.com/api/trans/vip/translate?appid=1&q=%E4%BD%A0";
    EXPECT_EQ(extra_header_block(url),
              Text("Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
                   "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*\r\n"
                   "Referer: http://api.fanyi.baidu.com/api/trans/vip/translate?appid=1&q=%E4%BD%A0\r\n"
                   "Accept-Language: zh-cn\r\n"));
}

}  // namespace
