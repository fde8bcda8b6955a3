// SPDX-License-Identifier: GPL-3.0-or-later
// Version type and band lookup from the stored TY reply and frequencies.
#include "block.h"

#include <corvan.h>

#include <array>
#include <span>

using namespace corvan::detail;

namespace {

struct BandRow {
    std::uint32_t band;
    std::int64_t lo;
    std::int64_t hi;
    bool hiIncluded;
};

constexpr std::int64_t MHz = 1000000;

// The main receiver's bands. HF and 6 m are alike on every version; the
// versions differ in the edges of 2 m, 70 cm and the low edge of 23 cm.
constexpr std::array<BandRow, 5> MainBands(std::int64_t lo2m, std::int64_t hi2m, std::int64_t lo70cm,
                                           std::int64_t hi70cm, std::int64_t lo23cm)
{
    return {{{1, 30000, 30 * MHz, false},
             {11, 30 * MHz, 60 * MHz, true},
             {12, lo2m, hi2m, false},
             {13, lo70cm, hi70cm, false},
             {14, lo23cm, 1300 * MHz, false}}};
}

constexpr auto kA = MainBands(142 * MHz, 152 * MHz, 420 * MHz, 450 * MHz, 1240 * MHz);
constexpr auto kB = MainBands(144 * MHz, 146 * MHz, 430 * MHz, 440 * MHz, 1240 * MHz);
constexpr auto kB9 = MainBands(144 * MHz, 146 * MHz, 432 * MHz, 438 * MHz, 1240 * MHz);
constexpr auto kB10 = MainBands(144 * MHz, 146 * MHz, 430 * MHz, 440 * MHz, 1260 * MHz);

// clang-format off
constexpr BandRow kV[] = {{15, 118 * MHz, 174 * MHz, false}, {15, 220 * MHz, 300 * MHz, false},
                          {16, 300 * MHz, 512 * MHz, false}};
constexpr BandRow kW[] = {{15, 144 * MHz, 146 * MHz, false}, {16, 430 * MHz, 440 * MHz, false}};
constexpr BandRow kW9[] = {{15, 144 * MHz, 146 * MHz, false}, {16, 432 * MHz, 438 * MHz, false}};
// clang-format on

std::uint32_t Lookup(std::span<const BandRow> table, std::int64_t hz)
{
    for (const BandRow& row : table) {
        if (hz >= row.lo && (hz < row.hi || (row.hiIncluded && hz == row.hi)))
            return row.band;
    }
    return 0;
}

std::int64_t StoredFrequency(std::uint32_t selector)
{
    const Rec rec = selector == 0 ? Rec::FA : selector == 1 ? Rec::FB : Rec::FC;
    const Record x = Global().Get(rec);
    std::int64_t hz = 0;
    for (std::size_t i = 0; i < x.text[0].size() && x.text[0][i] >= '0' && x.text[0][i] <= '9'; ++i) {
        hz = hz * 10 + (x.text[0][i] - '0');
        if (hz > 99999999999LL)
            return 0;
    }
    return hz;
}

} // namespace

std::uint32_t CCorvan::GetType()
{
    const Record ty = Global().Get(Rec::TY);
    if (ty.valid != 1)
        return 0;
    switch (ty.num[8]) {
    case 0: {
        const std::uint32_t n = ty.num[0] | (ty.num[1] << 1) | (ty.num[2] << 2) | (ty.num[3] << 3);
        switch (n) {
        case 1:
            return 6;
        case 2:
            return 5;
        case 4:
            return 3;
        case 6:
            return 8;
        case 8:
            return 2;
        case 9:
            return 9;
        case 10:
            return 7;
        case 12:
            return 4;
        default:
            return 1;
        }
    }
    case 1:
        return 10;
    case 2:
        return 11;
    default:
        return 0;
    }
}

std::uint32_t CCorvan::GetRcvBand(std::uint32_t selector, std::int64_t frequency)
{
    const std::uint32_t type = GetType();
    if (selector > 2)
        return 0;
    const std::int64_t hz = frequency == 0 ? StoredFrequency(selector) : frequency;
    const bool bit5 = Global().Get(Rec::TY).num[5] != 0;
    if (!bit5)
        return Lookup(selector == 2 ? std::span<const BandRow>(kV) : std::span<const BandRow>(kA), hz);
    if (type < 1 || type > 11)
        return 0;
    if (selector < 2) {
        switch (type) {
        case 1: case 2: case 3: case 4:
            return Lookup(kA, hz);
        case 7:
            if (selector == 0 && hz < 2 * MHz)
                return 2;
            return Lookup(kB, hz);
        case 9:
            return Lookup(kB9, hz);
        case 10: case 11:
            return Lookup(kB10, hz);
        default: // 5, 6, 8
            return Lookup(kB, hz);
        }
    }
    switch (type) {
    case 1: case 2: case 3: case 4:
        return Lookup(kV, hz);
    case 7:
        return Lookup(kB, hz);
    case 9:
        return Lookup(kW9, hz);
    default: // 5, 6, 8, 10, 11
        return Lookup(kW, hz);
    }
}
