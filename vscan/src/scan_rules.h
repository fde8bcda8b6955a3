// SPDX-License-Identifier: GPL-3.0-or-later
// scan_rules.h - the arithmetic of the visual scan: steps, edges, bar
// geometry, digit-field display and the frequency entry. No Qt, no radio:
// every function here is pure and table-testable.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glimra {

inline constexpr std::int64_t kMinFrequency = 30'000;
inline constexpr std::int64_t kMaxFrequency = 1'299'999'999;
inline constexpr int kMaxSpan = 181;
inline constexpr int kDigits = 11;

// ------------------------------------------------------------ the lists

const std::vector<std::string>& MainStepTexts(); // "100Hz" .. "100kHz" (15)
const std::vector<std::string>& SubStepTexts();  // "5kHz" .. "100kHz" (10)
const std::vector<std::string>& SpanTexts();     // "31", "61", "91", "181"
std::vector<std::string> IntervalTexts();        // "100" .. "1000" step 50
inline constexpr int kSpanInitialIndex = 1;      // "61"

// Hz of a step text: the digits and the decimal point form the number, a
// "k"/"K" multiplies by 1000, "m"/"M" by 10^6, "g"/"G" by 10^9. A text without
// digits gives 0 (callers keep their previous step then).
std::int64_t ParseStepText(std::string_view text);

// The code of the ST command for a step of the sub band (5 kHz .. 100 kHz);
// any other step gives 0.
std::uint32_t StepCode(std::int64_t step);

// The selection after the step list is refilled for another band, keeping
// the same step text where both lists have it. `oldIndex` < 0 means the list
// was empty.
int RefillStepIndex(int oldIndex, bool toSubBand);

// ----------------------------------------------------------- the channels

struct Edges {
    std::int64_t low = 0;
    std::int64_t high = 0;
};
Edges EdgesAround(std::int64_t centre, std::int64_t step, int span);
// Frequency of channel `position` of a span around `centre`.
std::int64_t ChannelFrequency(std::int64_t centre, std::int64_t step, int span, int position);
inline int MiddleChannel(int span) { return (span - 1) / 2; }

// "14.195.000": a "." after every three digits from the right.
std::string FormatDotted(std::int64_t frequency);

// ------------------------------------------------------------ the graph

inline constexpr int kGraphTop = 31;
inline constexpr int kGraphBottom = 310;
inline constexpr int kS9Line = 166;
inline constexpr int kSegmentHeight = 9;
inline constexpr std::array<int, 7> kGridLines{274, 247, 220, 193, 166, 121, 76};
inline constexpr int kMaxLevel = 30;

struct BarGeometry {
    int left = 0;   // left edge of bar 0
    int width = 0;  // width of one bar
    int right = 0;  // right border (end of the last bar)
};
// Geometry for a span of 31, 61, 91 or 181; any other span falls back to 61.
BarGeometry GeometryForSpan(int span);

// One bar as drawn: x from x0 to x1 (exclusive), y from top to bottom
// (exclusive). What lies above kS9Line (for levels of 16 and more) is red.
struct BarShape {
    int x0 = 0;
    int x1 = 0;
    int top = 0;
    int bottom = 0;
};
// Nothing for levels outside 0..30 or channels outside the span.
std::optional<BarShape> BarFor(int span, int channel, int level, int graphMode);
// Level of the top of a bar: 301 - 9 * level.
inline constexpr int LevelY(int level) { return 301 - 9 * level; }
// The channel under x, or nothing when x lies outside every bar.
std::optional<int> ChannelAt(int span, int x);

// ---------------------------------------------------- digit-field display

// What the eleven digit fields and three separators show.
struct DigitFields {
    std::array<std::string, kDigits> digits;
    std::array<std::string, 3> separators; // after the 2nd, 5th and 8th digit
};
// An entered frequency: leading zeros blank, a separator blank when every
// digit before it is blank.
DigitFields ShowFrequency(std::int64_t frequency);

// ----------------------------------------------------- frequency entry

// The digit-by-digit entry of the eleven fields ("-" = not typed yet).
class FrequencyEntry {
public:
    bool active() const { return m_active; }
    int typed() const { return m_typed; }
    const std::string& fields() const { return m_fields; }

    void begin();
    // Fills the next field; returns true when the eleventh digit ended the entry.
    bool typeDigit(int digit);
    // The decimal point while fewer than 5 digits are typed: the typed digits
    // become the megahertz (right-aligned in the first five fields).
    void typePoint();
    // Ends the entry and returns the fields as a number (blank and "-" are 0).
    std::int64_t end();
    std::int64_t value() const;
    DigitFields show() const;

private:
    bool m_active = false;
    int m_typed = 0;
    std::string m_fields = std::string(kDigits, '-');
};

// A click on digit field `fieldFromRight` (0 = 1 Hz): one unit of that
// place down or up; with the sub band (selector 2) at least one step. The
// result is held between kMinFrequency and kMaxFrequency.
std::int64_t ClickChange(std::int64_t entered, int fieldFromRight, bool raise,
                         std::uint32_t selector, std::int64_t step);
// One dial step down or up, held between kMinFrequency and kMaxFrequency.
std::int64_t DialChange(std::int64_t entered, bool raise, std::int64_t step);

// ---------------------------------------------------------- the dial

// Counts mouse moves; every `wait`-th move turns the dial one position.
class DialState {
public:
    bool on() const { return m_position != 0; }
    int position() const { return m_position; } // 0 off, 1..8
    void switchOn(int wait);
    void switchOff();
    // A mouse move with a button held; true when the dial turns one step
    // (up turns it clockwise, down the other way).
    bool move(bool raise);

private:
    int m_position = 0;
    int m_wait = 5;
    int m_moves = 0;
};

// --------------------------------------------------- receiver selector

// 0: FA and meter 0; 1: FB and meter 0; 2: FC and meter 1 (doubled).
std::uint32_t SelectorFor(int band, int mainBandFr);
inline std::uint32_t MeterFor(std::uint32_t selector) { return selector == 2 ? 1u : 0u; }

} // namespace glimra
