// SPDX-License-Identifier: GPL-3.0-or-later
#include "filter_rules.h"

#include <algorithm>
#include <array>

namespace dunmar {

namespace {

constexpr std::array<int, kCutSteps> kLowCuts{0, 50, 100, 200, 300, 400, 500, 600, 700, 800, 900, 1000};
constexpr std::array<int, kCutSteps> kHighCuts{1400, 1600, 1800, 2000, 2200, 2400,
                                               2600, 2800, 3000, 3400, 4000, 5000};
constexpr std::array<int, 13> kCwWidths{50, 80, 100, 150, 200, 250, 300, 400, 500, 600, 1000, 1500, 2000};
constexpr std::array<int, 4> kFskWidths{250, 500, 1000, 1500};
constexpr std::array<int, 2> kNarrowWide{0, 1};
constexpr int kDefaultPitch = 800;

} // namespace

ModeClass ClassOf(std::uint32_t mode) {
    switch (mode) {
    case 1:
    case 2:
        return ModeClass::Ssb;
    case 3:
    case 7:
        return ModeClass::Cw;
    case 4:
        return ModeClass::Fm;
    case 5:
        return ModeClass::Am;
    case 6:
    case 9:
        return ModeClass::Fsk;
    default:
        return ModeClass::None;
    }
}

std::string ModeName(std::uint32_t mode) {
    static constexpr const char* kNames[] = {"", "LSB", "USB", "CW", "FM", "AM", "FSK", "CW-R", "TUNE", "FSK-R"};
    return mode < std::size(kNames) ? kNames[mode] : "";
}

int LowCutHz(std::uint32_t index) { return index < kCutSteps ? kLowCuts[index] : -1; }
int HighCutHz(std::uint32_t index) { return index < kCutSteps ? kHighCuts[index] : -1; }

std::uint32_t CutStepsFor(std::uint32_t modelType) { return CutsInHz(modelType) ? kCutSteps : 21; }
bool CutsInHz(std::uint32_t modelType) { return modelType != 1; }

std::string CutLabel(bool high, std::uint32_t index, std::uint32_t modelType) {
    const int hz = high ? HighCutHz(index) : LowCutHz(index);
    if (!CutsInHz(modelType) || hz < 0)
        return "Step " + std::to_string(index);
    return std::to_string(hz) + " Hz";
}

std::span<const int> WidthsFor(ModeClass mode) {
    switch (mode) {
    case ModeClass::Cw:
        return kCwWidths;
    case ModeClass::Fsk:
        return kFskWidths;
    case ModeClass::Fm:
    case ModeClass::Am:
        return kNarrowWide;
    default:
        return {};
    }
}

bool UsesCuts(ModeClass mode) {
    return mode == ModeClass::Ssb || mode == ModeClass::Fm || mode == ModeClass::Am || mode == ModeClass::None;
}
bool UsesWidth(ModeClass mode) { return mode != ModeClass::Ssb; }
bool UsesShift(ModeClass mode) {
    return mode == ModeClass::Ssb || mode == ModeClass::Cw || mode == ModeClass::None;
}
bool NarrowWide(ModeClass mode) { return mode == ModeClass::Fm || mode == ModeClass::Am; }

std::string PresetName(std::uint32_t preset) {
    if (preset < kPresets)
        return std::string(1, static_cast<char>('A' + preset));
    return std::to_string(preset);
}

Passband PassbandOf(ModeClass mode, int lowIndex, int highIndex, int width, int shift) {
    Passband band;
    if (mode == ModeClass::Cw || mode == ModeClass::Fsk) {
        band.axisLow = 0;
        band.axisHigh = 3000;
        if (width <= 0)
            return band;
        const int centre = mode == ModeClass::Cw && shift > 0 ? shift : kDefaultPitch;
        band.low = std::max(band.axisLow, centre - width / 2);
        band.high = std::min(band.axisHigh, centre + width / 2);
        band.known = band.high > band.low;
        return band;
    }
    const int low = lowIndex < 0 ? -1 : LowCutHz(static_cast<std::uint32_t>(lowIndex));
    const int high = highIndex < 0 ? -1 : HighCutHz(static_cast<std::uint32_t>(highIndex));
    if (low < 0 || high < 0)
        return band;
    band.low = low;
    band.high = high;
    band.known = high > low;
    return band;
}

} // namespace dunmar
