// SPDX-License-Identifier: GPL-3.0-or-later
// filter_rules.h - what the filter values mean: the cut-off tables of SH and
// SL, the widths offered per mode, and the passband they make. No Qt.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace dunmar {

// How the window presents a mode's filter.
enum class ModeClass {
    None,  // no mode reported yet (or TUNE): every control stays usable
    Ssb,   // LSB, USB: low and high cut, IF shift
    Cw,    // CW, CW-R: width and shift around the pitch
    Fsk,   // FSK, FSK-R: width
    Fm,    // FM: low and high cut, narrow or wide
    Am,    // AM: low and high cut, narrow or wide
};

ModeClass ClassOf(std::uint32_t mode);
// " LSB" .. " FSK-R" without the leading blank; "" for 0 and unknown values.
std::string ModeName(std::uint32_t mode);

// The SL and SH indices the radio takes (0..11) and the cut-off in Hz of each.
inline constexpr std::uint32_t kCutSteps = 12;
int LowCutHz(std::uint32_t index);   // -1 beyond the table
int HighCutHz(std::uint32_t index);  // -1 beyond the table

// The QX410 family (model type 1) takes SL and SH 0..20, steps this window
// knows no frequencies for; the QR-7730 family the 12 steps above.
std::uint32_t CutStepsFor(std::uint32_t modelType);
bool CutsInHz(std::uint32_t modelType);
// "200 Hz", or "Step 4" where the steps have no known frequency.
std::string CutLabel(bool high, std::uint32_t index, std::uint32_t modelType);

// FW: in CW and FSK the width in Hz; in FM and AM 0 narrow, 1 wide.
std::span<const int> WidthsFor(ModeClass mode);
bool UsesCuts(ModeClass mode);
bool UsesWidth(ModeClass mode);
bool UsesShift(ModeClass mode);
bool NarrowWide(ModeClass mode);

// Presets of menu 50, sub-item 1: 0 A, 1 B, 2 C.
inline constexpr std::uint32_t kPresets = 3;
std::string PresetName(std::uint32_t preset); // "A".."C", or the number

// The passband drawn by the window, in Hz on an axis of `axisLow`..`axisHigh`.
struct Passband {
    int axisLow = 0;
    int axisHigh = 5000;
    int low = 0;
    int high = 0;
    bool known = false; // false while the values it needs are not reported
};
// `cw` modes centre the width on the shift (or on 800 Hz while no shift is
// known); the others run from the low to the high cut.
Passband PassbandOf(ModeClass mode, int lowIndex, int highIndex, int width, int shift);

} // namespace dunmar
