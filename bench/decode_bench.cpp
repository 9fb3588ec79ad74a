// Reply decoding on replies of 1 KiB, 64 KiB and 1 MiB: the time should grow linearly.
#include <benchmark/benchmark.h>

#include <string>

#include "client/decode.h"

namespace {

// A reply as the service sends it: mostly \uXXXX escapes, some ASCII, a few other escapes;
// no "%", which percent_decode would turn into bytes that are no UTF-8.
Text escaped_reply(std::size_t size) {
    std::string dst;
    const char* pieces[] = {R"(\u4f60\u597d)", R"(\uff0c)", " world ", R"(\"q\")",
                            R"(\u2019s)",      R"(\\)",     R"(\/)",   " 50 "};
    for (std::size_t k = 0; dst.size() < size; ++k) dst += pieces[k % std::size(pieces)];
    return Text(R"({"from":"en","to":"zh","trans_result":[{"src":"hello","dst":")" + dst + R"("}]})");
}

// A body thick with percent escapes of UTF-8: the slow case of percent_decode.
Text percent_reply(std::size_t size) {
    std::string body;
    const char* pieces[] = {"%e4%bd%a0", "%E5%A5%BD", " world ", "%2F", "\\u4f60"};
    for (std::size_t k = 0; body.size() < size; ++k) body += pieces[k % std::size(pieces)];
    return Text(body);
}

void BM_unescape_unicode(benchmark::State& state) {
    Text reply = escaped_reply(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(unescape_unicode(reply));
    state.SetBytesProcessed(state.iterations() * reply.size());
}

void BM_percent_decode(benchmark::State& state) {
    Text reply = percent_reply(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(percent_decode(reply));
    state.SetBytesProcessed(state.iterations() * reply.size());
}

// The usual reply: plain ASCII with \uXXXX escapes and no "%".
void BM_percent_decode_plain(benchmark::State& state) {
    Text reply = escaped_reply(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(percent_decode(reply));
    state.SetBytesProcessed(state.iterations() * reply.size());
}

}  // namespace

BENCHMARK(BM_unescape_unicode)->Arg(1 << 10)->Arg(1 << 16)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_percent_decode)->Arg(1 << 10)->Arg(1 << 16)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_percent_decode_plain)->Arg(1 << 10)->Arg(1 << 16)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);
