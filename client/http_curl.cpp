// HTTP GET through libcurl's multi interface, pumping window events every few milliseconds so the
// window stays live for the whole exchange, not only between reads. libcurl is opened on the first
// request (lazy_library_posix.h); its header gives only the types and constants.
#include <curl/curl.h>

#include <chrono>
#include <cstdint>
#include <future>
#include <string>

#include "client/http.h"
#include "client/lazy_library_posix.h"
#include "client/url.h"
#include "text/events.h"

namespace {

constexpr std::uint32_t time_out_ms = 18000;
constexpr int poll_ms = 10;
constexpr const char* user_agent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

struct Curl {
    decltype(&curl_easy_init) easy_init = nullptr;
    decltype(&curl_easy_setopt) easy_setopt = nullptr;
    decltype(&curl_easy_getinfo) easy_getinfo = nullptr;
    decltype(&curl_easy_cleanup) easy_cleanup = nullptr;
    decltype(&curl_multi_init) multi_init = nullptr;
    decltype(&curl_multi_add_handle) multi_add_handle = nullptr;
    decltype(&curl_multi_remove_handle) multi_remove_handle = nullptr;
    decltype(&curl_multi_perform) multi_perform = nullptr;
    decltype(&curl_multi_poll) multi_poll = nullptr;
    decltype(&curl_multi_info_read) multi_info_read = nullptr;
    decltype(&curl_multi_cleanup) multi_cleanup = nullptr;
    decltype(&curl_slist_append) slist_append = nullptr;
    decltype(&curl_slist_free_all) slist_free_all = nullptr;
};

// libcurl's functions; nullptr when the library or one of them is missing.
const Curl* load_libcurl() {
    static Curl curl;
    void* library = open_library("libcurl.so.4");
    bool found = look_up(library, "curl_easy_init", curl.easy_init) &&
                 look_up(library, "curl_easy_setopt", curl.easy_setopt) &&
                 look_up(library, "curl_easy_getinfo", curl.easy_getinfo) &&
                 look_up(library, "curl_easy_cleanup", curl.easy_cleanup) &&
                 look_up(library, "curl_multi_init", curl.multi_init) &&
                 look_up(library, "curl_multi_add_handle", curl.multi_add_handle) &&
                 look_up(library, "curl_multi_remove_handle", curl.multi_remove_handle) &&
                 look_up(library, "curl_multi_perform", curl.multi_perform) &&
                 look_up(library, "curl_multi_poll", curl.multi_poll) &&
                 look_up(library, "curl_multi_info_read", curl.multi_info_read) &&
                 look_up(library, "curl_multi_cleanup", curl.multi_cleanup) &&
                 look_up(library, "curl_slist_append", curl.slist_append) &&
                 look_up(library, "curl_slist_free_all", curl.slist_free_all);
    return found ? &curl : nullptr;
}

// Loaded once. Opening libcurl and the two dozen libraries it brings takes tens of milliseconds on
// a busy machine, so the first time it is done on a helper thread while the window's events keep
// running (or, should no thread be had, here when asked).
const Curl* libcurl() {
    static const std::shared_future<const Curl*> loading =
        std::async(std::launch::async | std::launch::deferred, load_libcurl).share();
    while (loading.wait_for(std::chrono::milliseconds(poll_ms)) == std::future_status::timeout) process_events();
    return loading.get();
}

struct Exchange {
    std::string body;
    std::int32_t last_activity = uptime_ms();
};

std::uint32_t since(std::int32_t start) {
    return static_cast<std::uint32_t>(uptime_ms()) - static_cast<std::uint32_t>(start);
}

size_t on_body(char* data, size_t size, size_t count, void* user) {
    auto* exchange = static_cast<Exchange*>(user);
    exchange->body.append(data, size * count);
    exchange->last_activity = uptime_ms();
    return size * count;
}

size_t on_header(char*, size_t size, size_t count, void* user) {
    static_cast<Exchange*>(user)->last_activity = uptime_ms();
    return size * count;
}

bool connected(const Curl& curl, CURL* easy) {
    curl_off_t connect_time = 0;
    return curl.easy_getinfo(easy, CURLINFO_CONNECT_TIME_T, &connect_time) == CURLE_OK && connect_time > 0;
}

// One curl header entry per CR LF terminated line of the block.
curl_slist* header_list(const Curl& curl, const Text& block) {
    curl_slist* list = nullptr;
    std::string_view rest = block.view();
    for (auto end = rest.find("\r\n"); end != std::string_view::npos; end = rest.find("\r\n")) {
        if (curl_slist* longer = curl.slist_append(list, std::string(rest.substr(0, end)).c_str())) list = longer;
        rest.remove_prefix(end + 2);
    }
    return list;
}

// Where to connect. The request line's target is set apart, byte for byte, so curl never
// re-encodes or normalises the path and query.
std::string connect_url(const Text& url) {
    int port = url_port(url);
    if (port <= 0 || port > 65535) port = 80;  // WinInet's reading of port 0: the default one
    return "http://" + url_host(url).str() + ":" + std::to_string(port) + "/";
}

void configure(const Curl& curl, CURL* easy, const Text& url, const std::string& address, curl_slist* headers,
               Exchange& exchange) {
    curl.easy_setopt(easy, CURLOPT_URL, address.c_str());
    curl.easy_setopt(easy, CURLOPT_REQUEST_TARGET, url_path(url).c_str());
    curl.easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    curl.easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl.easy_setopt(easy, CURLOPT_USERAGENT, user_agent);
    curl.easy_setopt(easy, CURLOPT_HTTPHEADER, headers);  // its Accept replaces curl's own
    curl.easy_setopt(easy, CURLOPT_PROXY, "");            // a direct connection, whatever the environment says
    curl.easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl.easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(time_out_ms));
    curl.easy_setopt(easy, CURLOPT_WRITEFUNCTION, on_body);
    curl.easy_setopt(easy, CURLOPT_WRITEDATA, &exchange);
    curl.easy_setopt(easy, CURLOPT_HEADERFUNCTION, on_header);
    curl.easy_setopt(easy, CURLOPT_HEADERDATA, &exchange);
}

// Runs the transfer to its end. Returns false when it was given up because nothing moved for the
// time-out. The clock restarts once connected; it runs before that too, in case curl reports
// a connect that took no measurable time, which would otherwise leave a silent server unbounded.
bool run(const Curl& curl, CURLM* multi, CURL* easy, Exchange& exchange) {
    bool was_connected = false;
    for (;;) {
        process_events();
        int running = 0;
        if (curl.multi_perform(multi, &running) != CURLM_OK || running == 0) return true;
        if (!was_connected && connected(curl, easy)) {
            was_connected = true;
            exchange.last_activity = uptime_ms();
        }
        if (since(exchange.last_activity) >= time_out_ms) return false;
        curl.multi_poll(multi, nullptr, 0, poll_ms, nullptr);
    }
}

CURLcode transfer_result(const Curl& curl, CURLM* multi) {
    int left = 0;
    while (CURLMsg* message = curl.multi_info_read(multi, &left)) {
        if (message->msg == CURLMSG_DONE) return message->data.result;
    }
    return CURLE_RECV_ERROR;
}

HttpOutcome outcome_of(CURLcode result, bool was_connected) {
    if (result == CURLE_OK) return HttpOutcome::completed;
    if (!was_connected) return HttpOutcome::cannot_connect;
    if (result == CURLE_OPERATION_TIMEDOUT) return HttpOutcome::timed_out;
    return HttpOutcome::dropped;
}

}  // namespace

HttpReply http_request(const Text& url) {
    const Curl* library = libcurl();
    if (!library) return {};
    const Curl& curl = *library;
    CURL* easy = curl.easy_init();
    if (!easy) return {};
    CURLM* multi = curl.multi_init();
    if (!multi) {
        curl.easy_cleanup(easy);
        return {};
    }
    Exchange exchange;
    std::string address = connect_url(url);
    curl_slist* headers = header_list(curl, extra_header_block(url));
    configure(curl, easy, url, address, headers, exchange);
    curl.multi_add_handle(multi, easy);

    bool finished = run(curl, multi, easy, exchange);
    HttpOutcome outcome = finished                ? outcome_of(transfer_result(curl, multi), connected(curl, easy))
                          : connected(curl, easy) ? HttpOutcome::timed_out
                                                  : HttpOutcome::cannot_connect;
    long status = 0;
    curl.easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);

    curl.multi_remove_handle(multi, easy);
    curl.easy_cleanup(easy);
    curl.multi_cleanup(multi);
    curl.slist_free_all(headers);
    return {Text(std::move(exchange.body)), outcome, static_cast<int>(status)};
}
