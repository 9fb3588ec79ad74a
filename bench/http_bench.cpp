// Figures of the HTTP fetch against the stand-in service (tools/standin.py) on loopback:
// the largest gap between two event-pump calls while a reply is held back 2 s, and the
// client-side time of one complete exchange. Usage: http_bench PORT [EXCHANGES]
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "client/http.h"
#include "client/md5.h"
#include "text/events.h"

namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point last_pump;
double largest_gap_ms = 0;

double ms_between(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

void note_pump() {
    auto now = Clock::now();
    largest_gap_ms = std::max(largest_gap_ms, ms_between(last_pump, now));
    last_pump = now;
}

Text url(int port, const std::string& query) {
    return Text("http://127.0.0.1:" + std::to_string(port) + "/api/trans/vip/translate?" + query);
}

// A real signed request for "hello", as the translate command sends it.
std::string hello_query() {
    Text sign = md5_hex(ByteBuffer(std::string("52718364950127384") + "hello" + "32768" + "Hq7ZrW2mTfo9YcNp_Lx3"));
    return "appid=52718364950127384&q=%68%65%6C%6C%6F&from=auto&to=auto&salt=32768&sign=" + sign.str();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: http_bench PORT [EXCHANGES]\n");
        return 2;
    }
    int port = std::atoi(argv[1]);
    int exchanges = argc > 2 ? std::atoi(argv[2]) : 200;

    last_pump = Clock::now();
    observe_process_events(note_pump);
    HttpReply slow = http_request(url(port, "q=fault:slow=2000"));
    note_pump();
    observe_process_events(nullptr);
    std::printf("largest gap between event-pump calls, 2 s slow reply: %.1f ms (%s)\n", largest_gap_ms,
                slow.outcome == HttpOutcome::completed ? "completed" : "NOT completed");

    Text hello = url(port, hello_query());
    std::vector<double> times;
    int failed = 0;
    for (int i = 0; i < exchanges; ++i) {
        auto start = Clock::now();
        HttpReply reply = http_request(hello);
        times.push_back(ms_between(start, Clock::now()));
        if (reply.outcome != HttpOutcome::completed || reply.status != 200 || reply.body.empty()) ++failed;
    }
    std::sort(times.begin(), times.end());
    std::printf(
        "one exchange with the stand-in, %d runs: median %.3f ms, min %.3f ms, p90 %.3f ms, max %.3f ms"
        " (%d failed)\n",
        exchanges, times[times.size() / 2], times.front(), times[times.size() * 9 / 10], times.back(), failed);
    return failed == 0 && slow.outcome == HttpOutcome::completed ? 0 : 1;
}
