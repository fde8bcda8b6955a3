// SPDX-License-Identifier: GPL-3.0-or-later
// setup_entry.h - the transverter rows of the setup panel as text: how a
// frequency is shown on the eleven digits and three dots of a row, how the
// mouse steps it, and how a frequency is typed digit by digit. No widgets,
// so the rules can be checked on their own.
//
// Digit positions run from 0 (the 10 GHz digit, leftmost) to 10 (1 Hz).
// The three dots follow positions 1 (GHz), 4 (MHz) and 7 (kHz).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace pandor {

inline constexpr int kRowDigits = 11;
inline constexpr std::int64_t kMaxTransverterHz = 99'999'999'999;
inline constexpr std::array<int, 3> kDotAfter{1, 4, 7};

struct RowText {
    std::array<char, kRowDigits> digits{}; // '0'..'9', ' ' or '-'
    std::array<char, 3> dots{};            // '.' or ' '

    // The row as one text, dots in place: "  0.144.100.000".
    std::string shown() const;
    bool operator==(const RowText&) const = default;
};

// The stored frequency: leading zeros blank (never the last digit), each dot
// shown once the first non-blank digit lies to its left. Values outside
// 0..kMaxTransverterHz are held to that range first.
RowText ShowFrequency(std::int64_t hz);

// One mouse step on a row: `digit` 0 is the 1 Hz digit up to 10 for 10 GHz;
// `up` adds 10^digit, otherwise it is taken away. The result is held to
// 0..kMaxTransverterHz; a digit outside 0..10 changes nothing.
std::int64_t StepFrequency(std::int64_t hz, int digit, bool up);

// The profile's text of a transverter frequency ("%011I64d"). Anything but a
// whole decimal number (spaces around it allowed) reads as 0; numbers are
// held to 0..kMaxTransverterHz.
std::int64_t ParseTransverterText(std::string_view text);
std::string FormatTransverterText(std::int64_t hz);

// Typing a frequency into a row.
class RowEntry {
public:
    // Every digit "-", every dot ".", nothing typed.
    void Start();
    // Writes the digit at the next position. A zero typed while no digit of
    // the row shows a non-zero number shows as a blank, and at positions 1,
    // 4 and 7 blanks the dot after it. True when this was the eleventh digit
    // (the row is full and entry ends). Digits outside 0..9 and digits after
    // the eleventh are ignored (false).
    bool TypeDigit(int digit);
    // With fewer than five digits typed: what was typed becomes the
    // megahertz part, right-aligned in positions 0..4 ("%5d", five blanks
    // for 0), the dots after positions 1 and 4 blank when the digit before
    // them is, and typing goes on at the 100 kHz digit. Otherwise nothing.
    void TypePeriod();

    int count() const { return m_count; }
    const RowText& text() const { return m_text; }
    // The digits read as hertz, blanks and "-" as 0.
    std::int64_t Value() const;

private:
    bool ShowsNonZero() const;

    RowText m_text{};
    int m_count = 0;
};

} // namespace pandor
