// Client-side cost of one translation against the stand-in service (tools/standin.py) on
// loopback: signing, the exchange, and reading the reply, each the median of N runs, for a
// short text and a 6000-byte one. Also the resident memory before and after.
// Usage: translate_cost PORT [RUNS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "client/signing.h"
#include "client/translate.h"
#include "tests/resident_memory.h"
#include "tests/standin.h"

namespace {

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void measure(const char* name, const Text& source, int port, int runs) {
    std::vector<double> sign, exchange, read;
    for (int i = 0; i < runs; ++i) {
        auto t0 = Clock::now();
        Text url = redirected_to_stand_in(build_signed_url(source), port);
        sign.push_back(ms_since(t0));
        auto t1 = Clock::now();
        HttpReply reply = http_request(url);
        exchange.push_back(ms_since(t1));
        auto t2 = Clock::now();
        Translation t = translation_from_reply(reply);
        read.push_back(ms_since(t2));
        if (!t.ok) {
            std::printf("%s: failed: %s\n", name, t.reason.c_str());
            std::exit(1);
        }
    }
    double client = median(sign) + median(read);
    std::printf(
        "%-16s sign %.3f ms, read reply %.3f ms -> client side %.3f ms; exchange on loopback %.3f ms (medians of %d)\n",
        name, median(sign), median(read), client, median(exchange), runs);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: translate_cost PORT [RUNS]\n");
        return 2;
    }
    int port = std::atoi(argv[1]);
    int runs = argc > 2 ? std::atoi(argv[2]) : 200;
    std::string long_text;
    while (long_text.size() < 6000) long_text += "hello world\r\n\xC4\xE3\xBA\xC3\r\n";  // 你好
    long_text.resize(6000);
    long before = resident_kib();
    measure("short (5 bytes)", "hello", port, runs);
    measure("6000 bytes", Text(long_text), port, runs);
    std::printf("resident memory: %ld KiB before, %ld KiB after\n", before, resident_kib());
}
