// HTTP GET through libcurl's multi interface, pumping window events every few milliseconds so the
// window stays live for the whole exchange, not only between reads.
#include <curl/curl.h>

#include <cstdint>
#include <string>

#include "client/http.h"
#include "client/url.h"
#include "text/events.h"

namespace {

constexpr std::uint32_t time_out_ms = 18000;
constexpr int poll_ms = 10;
constexpr const char* user_agent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

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

bool connected(CURL* easy) {
    curl_off_t connect_time = 0;
    return curl_easy_getinfo(easy, CURLINFO_CONNECT_TIME_T, &connect_time) == CURLE_OK && connect_time > 0;
}

// One curl header entry per CR LF terminated line of the block.
curl_slist* header_list(const Text& block) {
    curl_slist* list = nullptr;
    std::string_view rest = block.view();
    for (auto end = rest.find("\r\n"); end != std::string_view::npos; end = rest.find("\r\n")) {
        if (curl_slist* longer = curl_slist_append(list, std::string(rest.substr(0, end)).c_str())) list = longer;
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

void configure(CURL* easy, const Text& url, const std::string& address, curl_slist* headers, Exchange& exchange) {
    curl_easy_setopt(easy, CURLOPT_URL, address.c_str());
    curl_easy_setopt(easy, CURLOPT_REQUEST_TARGET, url_path(url).c_str());
    curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(easy, CURLOPT_USERAGENT, user_agent);
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);  // its Accept replaces curl's own
    curl_easy_setopt(easy, CURLOPT_PROXY, "");             // a direct connection, whatever the environment says
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(time_out_ms));
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, on_body);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &exchange);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, on_header);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &exchange);
}

// Runs the transfer to its end. Returns false when it was given up because nothing moved for the
// time-out once connected; the connect itself is bounded by CURLOPT_CONNECTTIMEOUT_MS.
bool run(CURLM* multi, CURL* easy, Exchange& exchange) {
    bool was_connected = false;
    for (;;) {
        process_events();
        int running = 0;
        if (curl_multi_perform(multi, &running) != CURLM_OK || running == 0) return true;
        if (!was_connected && connected(easy)) {
            was_connected = true;
            exchange.last_activity = uptime_ms();
        }
        if (was_connected && since(exchange.last_activity) >= time_out_ms) return false;
        curl_multi_poll(multi, nullptr, 0, poll_ms, nullptr);
    }
}

CURLcode transfer_result(CURLM* multi) {
    int left = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
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
    CURL* easy = curl_easy_init();
    if (!easy) return {};
    CURLM* multi = curl_multi_init();
    if (!multi) {
        curl_easy_cleanup(easy);
        return {};
    }
    Exchange exchange;
    std::string address = connect_url(url);
    curl_slist* headers = header_list(extra_header_block(url));
    configure(easy, url, address, headers, exchange);
    curl_multi_add_handle(multi, easy);

    bool finished = run(multi, easy, exchange);
    HttpOutcome outcome = finished ? outcome_of(transfer_result(multi), connected(easy)) : HttpOutcome::timed_out;
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);

    curl_multi_remove_handle(multi, easy);
    curl_easy_cleanup(easy);
    curl_multi_cleanup(multi);
    curl_slist_free_all(headers);
    return {Text(std::move(exchange.body)), outcome, static_cast<int>(status)};
}
