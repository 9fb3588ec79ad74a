// Where the stand-in translation service (tools/standin.py) listens for the HTTP tests. ctest starts
// it and it writes "PORT REFUSED_PORT PID" to standin.port in the tests' working directory; nothing
// listens on REFUSED_PORT.
#pragma once

#include <fstream>
#include <string>

#include "text/text.h"

struct StandIn {
    int port = 0;
    int refused_port = 0;
};

inline const StandIn& stand_in() {
    static const StandIn where = [] {
        StandIn read;
        std::ifstream("standin.port") >> read.port >> read.refused_port;
        return read;
    }();
    return where;
}

inline Text service_url(const std::string& query, int port = stand_in().port) {
    return Text("http://127.0.0.1:" + std::to_string(port) + "/api/trans/vip/translate?" + query);
}

// A request that the stand-in answers with the given fault modes, comma separated.
inline Text fault_url(const std::string& modes) {
    return service_url("appid=52718364950127384&q=fault:" + modes + "&from=auto&to=auto&salt=32768&sign=");
}

// A URL built for the service, sent to the stand-in instead: the same path and query.
inline Text redirected_to_stand_in(const Text& url, int port = stand_in().port) {
    int path = text_find(url, "/", 8);
    return text_concat({"http://127.0.0.1:", to_text(port), text_mid(url, path, text_length(url))});
}
