// SPDX-License-Identifier: GPL-3.0-or-later
// values.cpp - mode names and masks, frequency ranges.
#include <zephyra_share.h>

namespace zshare {

namespace {

struct ModeRow {
    Mode mode;
    const char* name;
    std::uint32_t bit;
};

constexpr ModeRow kModes[] = {
    {Mode::Am, "AM", 0x1},      {Mode::Cw, "CW", 0x2},      {Mode::Usb, "USB", 0x4},
    {Mode::Lsb, "LSB", 0x8},    {Mode::Rtty, "RTTY", 0x10}, {Mode::Fm, "FM", 0x20},
    {Mode::Cwr, "CWR", 0x80},   {Mode::Rttyr, "RTTYR", 0x100},
};

} // namespace

const char* ModeName(Mode mode) {
    for (const ModeRow& row : kModes)
        if (row.mode == mode)
            return row.name;
    return "";
}

Mode ModeFromName(std::string_view name) {
    for (const ModeRow& row : kModes)
        if (name == row.name)
            return row.mode;
    return Mode::Unknown;
}

std::uint32_t ModeBit(Mode mode) {
    for (const ModeRow& row : kModes)
        if (row.mode == mode)
            return row.bit;
    return 0;
}

bool InRanges(const std::vector<FrequencyRange>& ranges, std::int64_t hz) {
    for (const FrequencyRange& r : ranges)
        if (hz >= r.start && hz <= r.end)
            return true;
    return false;
}

} // namespace zshare
