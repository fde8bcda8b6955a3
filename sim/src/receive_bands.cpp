// SPDX-License-Identifier: GPL-3.0-or-later
// The frequencies the radio receives on, by its version (the TY reply): a
// memory channel outside all of them is refused as the radio refuses any
// value it cannot take.
#include "engine.h"

#include <cstdlib>
#include <span>

namespace qxsim::detail {

namespace {

struct Range {
    long long lo;
    long long hi;
    bool hiIncluded;
};

constexpr long long MHz = 1'000'000;

// Main receiver (FA, FB) and sub receiver (FC), per version group.
constexpr Range kMainWide[] = {{30'000, 60 * MHz, true}, {142 * MHz, 152 * MHz, false},
                               {420 * MHz, 450 * MHz, false}, {1240 * MHz, 1300 * MHz, false}};
constexpr Range kMainNarrow[] = {{30'000, 60 * MHz, true}, {144 * MHz, 146 * MHz, false},
                                 {430 * MHz, 440 * MHz, false}, {1240 * MHz, 1300 * MHz, false}};
constexpr Range kMainNarrow9[] = {{30'000, 60 * MHz, true}, {144 * MHz, 146 * MHz, false},
                                  {432 * MHz, 438 * MHz, false}, {1240 * MHz, 1300 * MHz, false}};
constexpr Range kMainNarrow10[] = {{30'000, 60 * MHz, true}, {144 * MHz, 146 * MHz, false},
                                   {430 * MHz, 440 * MHz, false}, {1260 * MHz, 1300 * MHz, false}};
constexpr Range kSubWide[] = {{118 * MHz, 174 * MHz, false}, {220 * MHz, 512 * MHz, false}};
constexpr Range kSubNarrow[] = {{144 * MHz, 146 * MHz, false}, {430 * MHz, 440 * MHz, false}};
constexpr Range kSubNarrow9[] = {{144 * MHz, 146 * MHz, false}, {432 * MHz, 438 * MHz, false}};

bool In(std::span<const Range> ranges, long long hz)
{
    for (const Range& r : ranges)
        if (hz >= r.lo && (hz < r.hi || (r.hiIncluded && hz == r.hi)))
            return true;
    return false;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return 0;
}

}  // namespace

bool receivable(const std::string& typeCode, long long hz)
{
    const int byte = typeCode.size() >= 2 ? HexDigit(typeCode[0]) * 16 + HexDigit(typeCode[1]) : 0;
    const char digit = typeCode.size() >= 3 ? typeCode[2] : '0';
    if ((byte & 0x20) == 0)
        return In(kMainWide, hz) || In(kSubWide, hz);
    int version = 0;
    if (digit == '0') {
        switch (byte & 0x0F) {
        case 1: version = 6; break;
        case 2: version = 5; break;
        case 4: version = 3; break;
        case 6: version = 8; break;
        case 8: version = 2; break;
        case 9: version = 9; break;
        case 10: version = 7; break;
        case 12: version = 4; break;
        default: version = 1; break;
        }
    } else if (digit == '1') {
        version = 10;
    } else if (digit == '2') {
        version = 11;
    }
    switch (version) {
    case 1: case 2: case 3: case 4:
        return In(kMainWide, hz) || In(kSubWide, hz);
    case 7:
        return In(kMainNarrow, hz);
    case 9:
        return In(kMainNarrow9, hz) || In(kSubNarrow9, hz);
    case 10: case 11:
        return In(kMainNarrow10, hz) || In(kSubNarrow, hz);
    case 5: case 6: case 8:
        return In(kMainNarrow, hz) || In(kSubNarrow, hz);
    default:
        return false;
    }
}

}  // namespace qxsim::detail
