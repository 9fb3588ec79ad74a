// Signing and code page conversions on 1 KiB, 64 KiB and 1 MiB of mixed Chinese and ASCII text.
#include <benchmark/benchmark.h>

#include "client/signing.h"
#include "text/charset.h"

namespace {

Text mixed_text(std::size_t size) {
    // "翻译 hello, 世界! " in code page 936, repeated.
    const std::string_view unit = "\xB7\xAD\xD2\xEB hello, \xCA\xC0\xBD\xE7! ";
    std::string s;
    while (s.size() + unit.size() <= size) s += unit;
    s.append(size - s.size(), 'x');
    return Text(std::move(s));
}

void sizes(benchmark::internal::Benchmark* b) { b->Arg(1 << 10)->Arg(64 << 10)->Arg(1 << 20); }

void BM_build_signed_url(benchmark::State& state) {
    Text q = mixed_text(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(build_signed_url(q));
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_build_signed_url)->Apply(sizes);

void BM_ansi_to_utf8(benchmark::State& state) {
    Text text = mixed_text(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(ansi_to_utf8(text));
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ansi_to_utf8)->Apply(sizes);

void BM_utf8_to_ansi(benchmark::State& state) {
    ByteBuffer utf8 = ansi_to_utf8(mixed_text(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(utf8_to_ansi(utf8));
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_utf8_to_ansi)->Apply(sizes);

}  // namespace
