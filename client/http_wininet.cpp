// HTTP GET through WinInet, synchronous, pumping window events before every read of the body.
#include <windows.h>
#include <wininet.h>

#include <string>

#include "client/http.h"
#include "client/url.h"
#include "text/events.h"

namespace {

constexpr const char* user_agent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr DWORD read_size = 512;

void set_time_outs(HINTERNET request) {
    DWORD time_out_ms = 18000;
    for (DWORD option :
         {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT})
        InternetSetOptionA(request, option, &time_out_ms, sizeof time_out_ms);
}

// A numeric header of the reply, or -1 when there is none.
long long number_header(HINTERNET request, DWORD query) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (!HttpQueryInfoA(request, query | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr)) return -1;
    return value;
}

// WinInet reports a connect that timed out and a reply that never came with the same error, so both
// count as timed out here.
HttpOutcome send_failure(DWORD error) {
    switch (error) {
    case ERROR_INTERNET_TIMEOUT: return HttpOutcome::timed_out;
    case ERROR_INTERNET_CONNECTION_ABORTED:
    case ERROR_INTERNET_CONNECTION_RESET:
    case ERROR_HTTP_INVALID_SERVER_RESPONSE: return HttpOutcome::dropped;
    default: return HttpOutcome::cannot_connect;
    }
}

HttpOutcome read_outcome(DWORD read_error, long long content_length, std::size_t body_size) {
    if (read_error == ERROR_INTERNET_TIMEOUT) return HttpOutcome::timed_out;
    if (read_error != 0) return HttpOutcome::dropped;
    // A connection closed before the announced length may still end the reads quietly.
    if (content_length >= 0 && body_size < static_cast<unsigned long long>(content_length)) return HttpOutcome::dropped;
    return HttpOutcome::completed;
}

}  // namespace

HttpReply http_request(const Text& url) {
    HINTERNET root = InternetOpenA(user_agent, INTERNET_OPEN_TYPE_DIRECT, "", "", 0);
    if (!root) return {};
    HINTERNET connection = InternetConnectA(root, url_host(url).c_str(), static_cast<INTERNET_PORT>(url_port(url)), "",
                                            "", INTERNET_SERVICE_HTTP, 0, 0);
    if (!connection) {
        InternetCloseHandle(root);
        return {};
    }
    HINTERNET request = HttpOpenRequestA(connection, "GET", url_path(url).c_str(), "HTTP/1.1", nullptr, nullptr,
                                         INTERNET_FLAG_RELOAD, 0);
    if (!request) {
        InternetCloseHandle(root);
        InternetCloseHandle(connection);
        return {};
    }
    set_time_outs(request);

    Text headers = extra_header_block(url);
    char no_data[] = "";
    bool sent = HttpSendRequestA(request, headers.c_str(), static_cast<DWORD>(headers.size()), no_data, 0);
    DWORD send_error = sent ? 0 : GetLastError();

    // Reads stop at the first one that brings nothing, at the end of the body or on failure.
    std::string body;
    DWORD read_error = 0;
    for (DWORD count = 1; count > 0;) {
        char buffer[read_size] = {};
        process_events();
        count = 0;
        if (!InternetReadFile(request, buffer, read_size, &count)) read_error = GetLastError();
        body.append(buffer, count);
    }

    HttpReply reply;
    long long status = number_header(request, HTTP_QUERY_STATUS_CODE);
    reply.status = status > 0 ? static_cast<int>(status) : 0;
    reply.outcome = sent ? read_outcome(read_error, number_header(request, HTTP_QUERY_CONTENT_LENGTH), body.size())
                         : send_failure(send_error);
    InternetCloseHandle(root);
    InternetCloseHandle(connection);
    InternetCloseHandle(request);
    reply.body = Text(std::move(body));
    return reply;
}
