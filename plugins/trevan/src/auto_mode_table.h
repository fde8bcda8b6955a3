// SPDX-License-Identifier: GPL-3.0-or-later
// auto_mode_table.h - the ranges of the auto-mode table and their rules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trevan {

inline constexpr std::int64_t kHighestFrequency = 99'999'999'999;
inline constexpr std::size_t kMaxRanges = 64;

struct ModeName {
    int code;
    const char* name;
};
// The operating modes a range may select, in the order the window lists them.
inline constexpr ModeName kModes[] = {{1, "LSB"}, {2, "USB"}, {3, "CW"},   {7, "CW-R"},
                                      {6, "FSK"}, {9, "FSK-R"}, {4, "FM"}, {5, "AM"}};
// "" for a code that is not a mode.
const char* ModeText(int code);

struct Range {
    std::int64_t from = 0; // included
    std::int64_t to = 0;   // excluded
    int mode = 0;
    bool operator==(const Range&) const = default;
};

// "14.07" or "14.070000" (MHz, at most six decimals, Hz resolution) to Hz;
// nothing for anything else (empty, signs, letters, seven decimals, beyond
// eleven digits of Hz).
std::optional<std::int64_t> ParseMegahertz(std::string_view text);
// Hz as MHz with at least three decimals: "14.070", "7.0005", "0.135".
std::string FormatMegahertz(std::int64_t hz);

// "FROM TO MODE" as stored in the profile, and back (nothing when it does
// not read as three numbers).
std::string RangeText(const Range& range);
std::optional<Range> ParseRangeText(std::string_view text);

// A table of ranges that never overlap, kept in frequency order.
class AutoModeTable {
public:
    // Why `range` cannot stand in the table (replacing row `replacing`,
    // -1 for none); empty when it can.
    std::string Check(const Range& range, int replacing = -1) const;
    // Both put the range in order; false (table unchanged) when Check fails.
    bool Add(const Range& range);
    bool Replace(int row, const Range& range);
    bool Remove(int row);
    void Clear() { m_ranges.clear(); }
    // The mode the table gives for `hz`, nothing outside every range.
    std::optional<int> ModeAt(std::int64_t hz) const;
    // The row that holds `range` exactly, -1 when none does.
    int RowOf(const Range& range) const;

    const std::vector<Range>& ranges() const { return m_ranges; }

    // The band plan the window starts from when the profile holds no table.
    static AutoModeTable Defaults();

private:
    std::vector<Range> m_ranges;
};

} // namespace trevan
