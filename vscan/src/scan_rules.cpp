// SPDX-License-Identifier: GPL-3.0-or-later
#include "scan_rules.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace glimra {

const std::vector<std::string>& MainStepTexts() {
    static const std::vector<std::string> texts{
        "100Hz", "200Hz", "500Hz", "1kHz",  "2.5kHz", "5kHz",  "6.25kHz", "10kHz",
        "12.5kHz", "15kHz", "20kHz", "25kHz", "30kHz", "50kHz", "100kHz"};
    return texts;
}

const std::vector<std::string>& SubStepTexts() {
    static const std::vector<std::string> texts{"5kHz",  "6.25kHz", "10kHz", "12.5kHz", "15kHz",
                                                "20kHz", "25kHz",   "30kHz", "50kHz",   "100kHz"};
    return texts;
}

const std::vector<std::string>& SpanTexts() {
    static const std::vector<std::string> texts{"31", "61", "91", "181"};
    return texts;
}

std::vector<std::string> IntervalTexts() {
    std::vector<std::string> texts;
    for (int ms = 100; ms <= 1000; ms += 50) {
        texts.push_back(std::to_string(ms));
    }
    return texts;
}

std::int64_t ParseStepText(std::string_view text) {
    std::string number;
    double multiplier = 1.0;
    for (char c : text) {
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '.') {
            number.push_back(c);
        } else if (c == 'k' || c == 'K') {
            multiplier = 1e3;
        } else if (c == 'm' || c == 'M') {
            multiplier = 1e6;
        } else if (c == 'g' || c == 'G') {
            multiplier = 1e9;
        }
    }
    if (number.find_first_of("0123456789") == std::string::npos) {
        return 0;
    }
    // A second decimal point ends the number ("1.2.3" reads as 1.2).
    const auto secondPoint = number.find('.', number.find('.') + 1);
    if (number.find('.') != std::string::npos && secondPoint != std::string::npos) {
        number.resize(secondPoint);
    }
    const double value = std::strtod(number.c_str(), nullptr) * multiplier;
    if (!(value >= 0.0) || value > 1e15) {
        return 0;
    }
    return static_cast<std::int64_t>(std::llround(value));
}

std::uint32_t StepCode(std::int64_t step) {
    static constexpr std::array<std::int64_t, 10> steps{5000,  6250,  10000, 12500, 15000,
                                                        20000, 25000, 30000, 50000, 100000};
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (steps[i] == step) {
            return static_cast<std::uint32_t>(i);
        }
    }
    return 0;
}

int RefillStepIndex(int oldIndex, bool toSubBand) {
    if (oldIndex < 0) {
        return 0;
    }
    // Both lists share their steps from "5kHz" on; the main list has five
    // finer steps in front.
    constexpr int kOffset = 5;
    if (toSubBand) {
        return oldIndex >= kOffset ? oldIndex - kOffset : oldIndex;
    }
    return std::min(oldIndex + kOffset, static_cast<int>(MainStepTexts().size()) - 1);
}

Edges EdgesAround(std::int64_t centre, std::int64_t step, int span) {
    const std::int64_t half = step * MiddleChannel(span);
    return {centre - half, centre + half};
}

std::int64_t ChannelFrequency(std::int64_t centre, std::int64_t step, int span, int position) {
    return centre + (position - MiddleChannel(span)) * step;
}

std::string FormatDotted(std::int64_t frequency) {
    const bool negative = frequency < 0;
    std::string digits = std::to_string(negative ? -frequency : frequency);
    std::string out;
    const int n = static_cast<int>(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) {
            out.push_back('.');
        }
        out.push_back(digits[static_cast<std::size_t>(i)]);
    }
    return negative ? "-" + out : out;
}

BarGeometry GeometryForSpan(int span) {
    switch (span) {
    case 31:
        return {40, 12, 412};
    case 91:
        return {44, 4, 408};
    case 181:
        return {45, 2, 407};
    case 61:
    default:
        return {43, 6, 409};
    }
}

std::optional<BarShape> BarFor(int span, int channel, int level, int graphMode) {
    if (level < 0 || level > kMaxLevel || channel < 0 || channel >= span || channel >= kMaxSpan) {
        return std::nullopt;
    }
    const BarGeometry g = GeometryForSpan(span);
    BarShape bar;
    bar.x0 = g.left + channel * g.width;
    bar.x1 = bar.x0 + g.width;
    bar.top = LevelY(level);
    bar.bottom = kGraphBottom;
    switch (graphMode) {
    case 2:
        break;
    case 3:
        bar.bottom = bar.top + kSegmentHeight;
        break;
    case 1:
    default:
        bar.x1 -= 1; // a gap between bars
        break;
    }
    return bar;
}

std::optional<int> ChannelAt(int span, int x) {
    const BarGeometry g = GeometryForSpan(span);
    if (x < g.left || x >= g.right) {
        return std::nullopt;
    }
    const int channel = (x - g.left) / g.width;
    if (channel >= span) {
        return std::nullopt;
    }
    return channel;
}

namespace {

// Digits before a separator: 2, 5 and 8.
constexpr std::array<int, 3> kSeparatorAfter{2, 5, 8};

DigitFields ShowFields(const std::string& fields) {
    DigitFields shown;
    bool leading = true;
    std::array<bool, kDigits> blank{};
    for (int i = 0; i < kDigits; ++i) {
        const char c = fields[static_cast<std::size_t>(i)];
        if (leading && c == '0') {
            blank[static_cast<std::size_t>(i)] = true;
            shown.digits[static_cast<std::size_t>(i)] = " ";
            continue;
        }
        leading = false;
        shown.digits[static_cast<std::size_t>(i)] = std::string(1, c);
    }
    for (std::size_t s = 0; s < kSeparatorAfter.size(); ++s) {
        bool allBlank = true;
        for (int i = 0; i < kSeparatorAfter[s]; ++i) {
            allBlank = allBlank && blank[static_cast<std::size_t>(i)];
        }
        shown.separators[s] = allBlank ? " " : ".";
    }
    return shown;
}

} // namespace

DigitFields ShowFrequency(std::int64_t frequency) {
    frequency = std::clamp<std::int64_t>(frequency, 0, 99'999'999'999);
    char text[16];
    std::snprintf(text, sizeof text, "%011lld", static_cast<long long>(frequency));
    return ShowFields(text);
}

void FrequencyEntry::begin() {
    m_active = true;
    m_typed = 0;
    m_fields.assign(kDigits, '-');
}

bool FrequencyEntry::typeDigit(int digit) {
    if (!m_active || digit < 0 || digit > 9 || m_typed >= kDigits) {
        return false;
    }
    m_fields[static_cast<std::size_t>(m_typed++)] = static_cast<char>('0' + digit);
    return m_typed == kDigits;
}

void FrequencyEntry::typePoint() {
    constexpr int kMhzFields = 5;
    if (!m_active || m_typed >= kMhzFields) {
        return;
    }
    const std::string typed = m_fields.substr(0, static_cast<std::size_t>(m_typed));
    std::string mhz = std::string(static_cast<std::size_t>(kMhzFields - m_typed), '0') + typed;
    m_fields.replace(0, kMhzFields, mhz);
    m_typed = kMhzFields;
}

std::int64_t FrequencyEntry::value() const {
    std::int64_t v = 0;
    for (char c : m_fields) {
        v = v * 10 + ((c >= '0' && c <= '9') ? c - '0' : 0);
    }
    return v;
}

std::int64_t FrequencyEntry::end() {
    m_active = false;
    return value();
}

DigitFields FrequencyEntry::show() const {
    return ShowFields(m_fields);
}

std::int64_t ClickChange(std::int64_t entered, int fieldFromRight, bool raise,
                         std::uint32_t selector, std::int64_t step) {
    fieldFromRight = std::clamp(fieldFromRight, 0, kDigits - 1);
    std::int64_t delta = 1;
    for (int i = 0; i < fieldFromRight; ++i) {
        delta *= 10;
    }
    if (selector == 2 && delta < step) {
        delta = step;
    }
    return std::clamp(entered + (raise ? delta : -delta), kMinFrequency, kMaxFrequency);
}

std::int64_t DialChange(std::int64_t entered, bool raise, std::int64_t step) {
    return std::clamp(entered + (raise ? step : -step), kMinFrequency, kMaxFrequency);
}

void DialState::switchOn(int wait) {
    // A wait of 0 (or a damaged profile value) turns on every move.
    m_wait = std::max(1, wait);
    m_moves = 0;
    m_position = 1;
}

void DialState::switchOff() {
    m_position = 0;
    m_moves = 0;
}

bool DialState::move(bool raise) {
    if (!on()) {
        return false;
    }
    if (++m_moves < m_wait) {
        return false;
    }
    m_moves = 0;
    m_position = raise ? m_position % 8 + 1 : (m_position + 6) % 8 + 1;
    return true;
}

std::uint32_t SelectorFor(int band, int mainBandFr) {
    if (band == 1) {
        return 2;
    }
    return (mainBandFr == 0 || mainBandFr == 1) ? static_cast<std::uint32_t>(mainBandFr) : 0u;
}

} // namespace glimra
