#include "client/url.h"

namespace {

constexpr int authority_start = 8;  // just after "http://"

// Position of the "/" that ends the authority, or -1 when the URL has no path.
int path_start(const Text& url) { return text_find(url, "/", authority_start); }

Text authority(const Text& url) {
    int slash = path_start(url);
    if (slash == -1) return text_mid(url, authority_start, text_length(url));
    return text_mid(url, authority_start, slash - authority_start);
}

}  // namespace

Text url_host(const Text& url) {
    Text host = authority(url);
    int colon = text_find(host, ":");
    if (colon != -1) host = text_left(host, colon - 1);
    return text_lower(host);
}

int url_port(const Text& url) {
    Text host_and_port = authority(url);
    int colon = text_find(host_and_port, ":");
    if (colon == -1) return 80;
    return truncate_to_int(to_number(text_mid(host_and_port, colon + 1, text_length(host_and_port))));
}

// The path starts at the first "/" after the authority. Looking for the host name from the start of
// the URL instead would find a short host such as "t" or "http" inside the scheme.
Text url_path(const Text& url) {
    int slash = path_start(url);
    if (slash == -1) return "/";
    return text_mid(url, slash, text_length(url));
}

Text extra_header_block(const Text& url) {
    return text_concat({
        "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
        "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*\r\n",
        "Referer: ",
        url.view(),
        "\r\n",
        "Accept-Language: zh-cn\r\n",
    });
}
