// SPDX-License-Identifier: GPL-3.0-or-later
// How much of one core the link's read path costs.
//
// The mix is what a radio with auto-information on sends while the operator
// tunes and the meters run: frequency and meter reports dominate, with mode,
// information, memory and menu replies among them. Reads are cut into 64-byte
// pieces, about what one wake-up of the read thread sees at 57,600 baud.
//
// "core_pct_at_57600" is the percentage of one core that a line saturated at 57,600 baud
// (5,760 bytes a second) would cost: 100 * 5760 / (bytes per second);
// Google Benchmark prints it with an SI prefix (4.3m means 0.0043 %).
#include "accumulator.h"
#include "block.h"
#include "decoder.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using corvan::detail::Accumulator;
using corvan::detail::Block;

struct CountingTarget final : CorvanTarget {
    void post(std::uint32_t, std::uintptr_t, std::intptr_t) override { ++count; }
    std::size_t count = 0;
};

std::string Mix()
{
    const std::string information = std::string("IF") + "00014195000" + "0100" + "000000" + "010" + "05" +
                                    "120300" + "08" + "1" + ";";
    const std::string memory = std::string("MR0") + "1" + "12" + "00145000000" + "310" + "05" + "12" + "103" +
                               "10" + "000600000" + "07" + "2" + "MYCALL  ;";
    const std::string one = "FA00014195010;SM00012;RM10005;FA00014195020;SM10007;FB00007050000;SM00013;"
                            "MD2;RM20000;SM00014;FA00014195030;" +
                            information + "AG0120;SQ0030;" + memory + "EX0120301ABC;PS1;TY2A0;";
    std::string all;
    while (all.size() < 64 * 1024)
        all += one;
    return all;
}

constexpr double kLineBytesPerSecond = 57600.0 / 10.0;

void Report(benchmark::State& state, std::size_t bytes)
{
    const auto total = static_cast<double>(state.iterations()) * static_cast<double>(bytes);
    state.SetBytesProcessed(static_cast<std::int64_t>(total));
    // time / (total / 5760) * 100: the percentage of a core at line rate.
    state.counters["core_pct_at_57600"] =
        benchmark::Counter(total / (kLineBytesPerSecond * 100.0), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The read path as the read thread runs it: 64-byte reads joined, decoded,
// stored and notified (with the pending flags re-armed as a window would).
void BM_ReadPath(benchmark::State& state)
{
    const std::string mix = Mix();
    Block block;
    block.modelType = 3;
    CountingTarget target;
    block.SetTarget(&target);
    Accumulator acc;
    acc.Reset(0);
    const std::size_t step = static_cast<std::size_t>(state.range(0));
    for (auto _ : state) {
        for (std::size_t at = 0; at < mix.size(); at += step) {
            const std::size_t n = std::min(step, mix.size() - at);
            acc.Feed(mix.data() + at, n, 0, block);
        }
        block.pending.fill(0);
    }
    benchmark::DoNotOptimize(target.count);
    Report(state, mix.size());
}
BENCHMARK(BM_ReadPath)->Arg(64)->Arg(1023);

// The decoder alone on whole replies.
void BM_Decode(benchmark::State& state)
{
    const std::string mix = Mix();
    Block block;
    block.modelType = 3;
    for (auto _ : state)
        corvan::detail::ConstituteData(mix.data(), mix.size(), block);
    Report(state, mix.size());
}
BENCHMARK(BM_Decode);

} // namespace

BENCHMARK_MAIN();
