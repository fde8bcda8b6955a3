// SPDX-License-Identifier: GPL-3.0-or-later
// memory_lists.h - what the memory channel editor shows and accepts, without
// its widgets: the list texts and their value mapping, the frequency digits,
// the digit stepping and the name check.
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

namespace pandor {

inline constexpr std::int64_t kMemoryFreqMax = 99'999'999'999;
inline constexpr std::int64_t kMemoryFreqMin = 30;
inline constexpr int kMemoryDigits = 11;
inline constexpr std::uint32_t kOffsetStepHz = 50'000;
inline constexpr int kOffsetEntries = 1200;

// Mode list: index 0..7 <-> mode code 1, 2, 3, 4, 5, 6, 7, 9.
QStringList MemoryModeTexts();
// The list index of a mode code; codes the list lacks select index 0.
int ModeIndexOf(std::uint32_t modeCode);
std::uint32_t ModeCodeAt(int index);

// Step list of a row, by that row's mode: FM and AM have ten steps, the other
// modes four (kilohertz).
QStringList StepTexts(std::uint32_t modeCode);
int StepCount(std::uint32_t modeCode);

QStringList OffsetTexts();  // "%10d" of 0, 50 000 ... 59 950 000
QStringList ShiftTexts();   // OFF, +, -, =
QStringList ReverseTexts(); // OFF, ON
QStringList ToneTexts();    // the 38 CTCSS tones and 1750.0
QStringList CtcssTexts();   // the 38 CTCSS tones
QStringList DcsTexts();     // the 104 DCS codes, three octal digits
QStringList GroupTexts();   // 0..9

// The eleven characters of a frequency row: leading zeros blanked, and
// whether each of the three dots (after the 1 GHz, 1 MHz and 1 kHz digits)
// shows. The transmit row with 0 shows nothing.
struct FrequencyDigits {
    std::array<char, kMemoryDigits> digits{};
    std::array<bool, 3> dots{};
};
FrequencyDigits ShowFrequency(std::int64_t hz, bool emptyWhenZero);

// One step of a digit: adds `amount`, holds the top at 99 999 999 999 and
// leaves the frequency unchanged when the result falls below 30.
std::int64_t StepFrequency(std::int64_t hz, std::int64_t amount);

// The name check. `version` is the radio's version type: 5 to 9 also take
// the characters 0x80..0xFF. ";" and control characters never pass.
bool NameAllowed(const QByteArray& text, std::uint32_t version);

} // namespace pandor
