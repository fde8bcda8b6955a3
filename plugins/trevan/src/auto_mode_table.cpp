// SPDX-License-Identifier: GPL-3.0-or-later
#include "auto_mode_table.h"

#include <algorithm>
#include <cstdio>

namespace trevan {

const char* ModeText(int code) {
    for (const ModeName& m : kModes) {
        if (m.code == code) {
            return m.name;
        }
    }
    return "";
}

std::optional<std::int64_t> ParseMegahertz(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    std::int64_t whole = 0;
    std::int64_t fraction = 0;
    int wholeDigits = 0;
    int decimals = 0;
    bool point = false;
    for (const char c : text) {
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            if (point) {
                if (++decimals > 6) {
                    return std::nullopt;
                }
                fraction = fraction * 10 + (c - '0');
            } else {
                if (++wholeDigits > 5) { // 99 999 MHz is the top of eleven digits of Hz
                    return std::nullopt;
                }
                whole = whole * 10 + (c - '0');
            }
        } else {
            return std::nullopt;
        }
    }
    if (wholeDigits == 0 && decimals == 0) {
        return std::nullopt;
    }
    for (int d = decimals; d < 6; ++d) {
        fraction *= 10;
    }
    const std::int64_t hz = whole * 1'000'000 + fraction;
    if (hz > kHighestFrequency) {
        return std::nullopt;
    }
    return hz;
}

std::string FormatMegahertz(std::int64_t hz) {
    char text[40];
    std::snprintf(text, sizeof text, "%lld.%06lld", static_cast<long long>(hz / 1'000'000),
                  static_cast<long long>(hz % 1'000'000));
    std::string out = text;
    // Keep three decimals at least (kHz), drop trailing zeros beyond.
    while (out.size() > out.find('.') + 4 && out.back() == '0') {
        out.pop_back();
    }
    return out;
}

std::string RangeText(const Range& range) {
    char text[64];
    std::snprintf(text, sizeof text, "%011lld %011lld %d", static_cast<long long>(range.from),
                  static_cast<long long>(range.to), range.mode);
    return text;
}

std::optional<Range> ParseRangeText(std::string_view text) {
    const std::string copy(text);
    long long from = 0;
    long long to = 0;
    int mode = 0;
    char rest = 0;
    if (std::sscanf(copy.c_str(), "%lld %lld %d %c", &from, &to, &mode, &rest) != 3) {
        return std::nullopt;
    }
    return Range{from, to, mode};
}

std::string AutoModeTable::Check(const Range& range, int replacing) const {
    if (range.from < 0 || range.to > kHighestFrequency) {
        return "The frequencies must lie between 0 and 99999.999999 MHz.";
    }
    if (range.from >= range.to) {
        return "The range must end above where it starts.";
    }
    if (ModeText(range.mode)[0] == '\0') {
        return "Choose a mode for the range.";
    }
    for (std::size_t i = 0; i < m_ranges.size(); ++i) {
        const Range& r = m_ranges[i];
        if (static_cast<int>(i) != replacing && range.from < r.to && r.from < range.to) {
            return "The range overlaps " + FormatMegahertz(r.from) + " - " + FormatMegahertz(r.to) + " MHz " +
                   ModeText(r.mode) + ".";
        }
    }
    if (replacing < 0 && m_ranges.size() >= kMaxRanges) {
        return "The table is full (64 ranges).";
    }
    return {};
}

bool AutoModeTable::Add(const Range& range) {
    if (!Check(range).empty()) {
        return false;
    }
    const auto at = std::find_if(m_ranges.begin(), m_ranges.end(),
                                 [&](const Range& r) { return r.from > range.from; });
    m_ranges.insert(at, range);
    return true;
}

bool AutoModeTable::Replace(int row, const Range& range) {
    if (row < 0 || static_cast<std::size_t>(row) >= m_ranges.size() || !Check(range, row).empty()) {
        return false;
    }
    m_ranges.erase(m_ranges.begin() + row);
    const auto at = std::find_if(m_ranges.begin(), m_ranges.end(),
                                 [&](const Range& r) { return r.from > range.from; });
    m_ranges.insert(at, range);
    return true;
}

bool AutoModeTable::Remove(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= m_ranges.size()) {
        return false;
    }
    m_ranges.erase(m_ranges.begin() + row);
    return true;
}

std::optional<int> AutoModeTable::ModeAt(std::int64_t hz) const {
    for (const Range& r : m_ranges) {
        if (hz >= r.from && hz < r.to) {
            return r.mode;
        }
    }
    return std::nullopt;
}

int AutoModeTable::RowOf(const Range& range) const {
    const auto it = std::find(m_ranges.begin(), m_ranges.end(), range);
    return it == m_ranges.end() ? -1 : static_cast<int>(it - m_ranges.begin());
}

AutoModeTable AutoModeTable::Defaults() {
    constexpr int LSB = 1, USB = 2, CW = 3, FM = 4, AM = 5;
    static constexpr Range kPlan[] = {
        {30'000, 1'800'000, AM},           {1'800'000, 1'840'000, CW},     {1'840'000, 2'000'000, LSB},
        {3'500'000, 3'600'000, CW},        {3'600'000, 4'000'000, LSB},    {7'000'000, 7'040'000, CW},
        {7'040'000, 7'300'000, LSB},       {10'100'000, 10'150'000, CW},   {14'000'000, 14'070'000, CW},
        {14'070'000, 14'350'000, USB},     {18'068'000, 18'110'000, CW},   {18'110'000, 18'168'000, USB},
        {21'000'000, 21'070'000, CW},      {21'070'000, 21'450'000, USB},  {24'890'000, 24'930'000, CW},
        {24'930'000, 24'990'000, USB},     {28'000'000, 28'070'000, CW},   {28'070'000, 29'500'000, USB},
        {29'500'000, 29'700'000, FM},      {50'000'000, 50'100'000, CW},   {50'100'000, 51'000'000, USB},
        {51'000'000, 54'000'000, FM},      {144'000'000, 144'100'000, CW}, {144'100'000, 144'500'000, USB},
        {144'500'000, 148'000'000, FM},    {430'000'000, 432'100'000, CW}, {432'100'000, 432'500'000, USB},
        {432'500'000, 450'000'000, FM},    {1'240'000'000, 1'300'000'000, FM},
    };
    AutoModeTable table;
    for (const Range& r : kPlan) {
        table.Add(r);
    }
    return table;
}

} // namespace trevan
