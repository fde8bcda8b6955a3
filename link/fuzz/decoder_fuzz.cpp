// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: arbitrary bytes from the line through the read thread's
// joining, the decoder, the store and the accessors, without a port.
//
// Input layout: byte 0 picks the model type (low two bits) and whether the
// clock jumps between reads (bit 2); byte 1 picks the read size (1..64);
// the rest is what the radio sends.
#include "accumulator.h"
#include "block.h"
#include "decoder.h"

#include <corvan.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

struct CountingTarget final : CorvanTarget {
    void post(std::uint32_t message, std::uintptr_t, std::intptr_t) override
    {
        if (message < corvan::kFirstMessage || message > corvan::kLastMessage || message == 4187)
            std::abort(); // a number the link must never post
        ++count;
    }
    std::size_t count = 0;
};

void ReadEverything(CCorvan& c)
{
    char f[corvan::kFrequencyTextSize], name[corvan::kNameTextSize];
    char t1[20], t2[20], t3[40], t4[12], direct[corvan::kDirectTextSize];
    std::uint32_t n[16];
    c.RcvDataFA(f);
    c.RcvDataFB(f);
    c.RcvDataFC(f);
    c.RcvDataIF(f, &n[0], &n[1], &n[2], &n[3], &n[4], &n[5], &n[6], &n[7], &n[8], &n[9], &n[10], &n[11], &n[12],
                &n[13]);
    for (std::uint32_t i = 0; i < 3; ++i)
        c.RcvDataMR(i, &n[0], &n[1], f, &n[2], &n[3], &n[4], &n[5], &n[6], &n[7], &n[8], &n[9], &n[10], &n[11],
                    &n[12], name);
    c.RcvDataPK(t1, t2, t3, t4);
    c.RcvDataEX(&n[0], &n[1], &n[2], &n[3], name);
    for (std::uint32_t i = 0; i < 5; ++i)
        c.RcvDataSM(i, &n[0]);
    c.RcvDataDirect(direct);
    if (std::strlen(direct) >= corvan::kDirectTextSize)
        std::abort();
    c.GetType();
    for (std::uint32_t s = 0; s < 4; ++s)
        c.GetRcvBand(s, 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    using namespace corvan::detail;
    Block& block = Global();
    block.Clear();
    block.modelType = data[0] & 3u;
    const bool jumps = (data[0] & 4u) != 0;
    const std::size_t step = 1 + (data[1] % 64);
    CountingTarget target;
    block.SetTarget(&target);

    Accumulator acc;
    acc.Reset(0);
    std::int64_t now = 0;
    const char* text = reinterpret_cast<const char*>(data + 2);
    const std::size_t length = size - 2;
    for (std::size_t at = 0; at < length; at += step) {
        const std::size_t n = at + step <= length ? step : length - at;
        acc.Feed(text + at, n, now, block);
        if (acc.Pending() > kAccumulatorMax)
            std::abort();
        if (jumps)
            now += text[at] & 3;
    }
    CCorvan c;
    ReadEverything(c);
    // The whole input once more, decoded in one piece.
    ConstituteData(text, length, block);
    ReadEverything(c);
    block.SetTarget(nullptr);
    return 0;
}
