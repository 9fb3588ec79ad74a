// One HTTP GET; the body read so far, and how the exchange ended.
#pragma once

#include "text/text.h"

enum class HttpOutcome {
    completed,       // the whole reply was read
    cannot_connect,  // no connection was made (refused, host unknown, no network)
    timed_out,       // connected, but nothing moved for the time-out
    dropped,         // the connection broke while the reply was coming in
};

struct HttpReply {
    Text body;  // up to the first zero byte; whatever was read, even on failure
    HttpOutcome outcome = HttpOutcome::cannot_connect;
    int status = 0;  // HTTP status code, 0 when none was received
};

HttpReply http_request(const Text& url);
