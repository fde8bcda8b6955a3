// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup_entry.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace pandor {

namespace {

std::int64_t Held(std::int64_t hz) {
    return std::clamp<std::int64_t>(hz, 0, kMaxTransverterHz);
}

// The dot after `position` shows once the first non-blank digit lies to its
// left (at or before that position).
void SetDotsFromFirstDigit(RowText& text) {
    int first = kRowDigits;
    for (int i = 0; i < kRowDigits; ++i) {
        if (text.digits[i] != ' ') {
            first = i;
            break;
        }
    }
    for (std::size_t d = 0; d < kDotAfter.size(); ++d) {
        text.dots[d] = first <= kDotAfter[d] ? '.' : ' ';
    }
}

} // namespace

std::string RowText::shown() const {
    std::string out;
    for (int i = 0; i < kRowDigits; ++i) {
        out.push_back(digits[i]);
        for (std::size_t d = 0; d < kDotAfter.size(); ++d) {
            if (kDotAfter[d] == i) {
                out.push_back(dots[d]);
            }
        }
    }
    return out;
}

RowText ShowFrequency(std::int64_t hz) {
    RowText text;
    const std::string digits = FormatTransverterText(hz);
    bool leading = true;
    for (int i = 0; i < kRowDigits; ++i) {
        const char c = digits[static_cast<std::size_t>(i)];
        leading = leading && c == '0' && i < kRowDigits - 1;
        text.digits[i] = leading ? ' ' : c;
    }
    SetDotsFromFirstDigit(text);
    return text;
}

std::int64_t StepFrequency(std::int64_t hz, int digit, bool up) {
    if (digit < 0 || digit >= kRowDigits) {
        return Held(hz);
    }
    std::int64_t step = 1;
    for (int i = 0; i < digit; ++i) {
        step *= 10;
    }
    // Both operands lie within 0..10^11, far from the 64-bit limits.
    return Held(Held(hz) + (up ? step : -step));
}

std::int64_t ParseTransverterText(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return 0;
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (end != text.data() + text.size()) {
        return 0;
    }
    if (error == std::errc::result_out_of_range) {
        // Too many digits for any frequency: held like any large number.
        return text.front() == '-' ? 0 : kMaxTransverterHz;
    }
    if (error != std::errc()) {
        return 0;
    }
    return Held(value);
}

std::string FormatTransverterText(std::int64_t hz) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%011lld", static_cast<long long>(Held(hz)));
    return buffer;
}

void RowEntry::Start() {
    m_text.digits.fill('-');
    m_text.dots.fill('.');
    m_count = 0;
}

bool RowEntry::ShowsNonZero() const {
    return std::any_of(m_text.digits.begin(), m_text.digits.end(), [](char c) { return c >= '1' && c <= '9'; });
}

bool RowEntry::TypeDigit(int digit) {
    if (digit < 0 || digit > 9 || m_count >= kRowDigits) {
        return false;
    }
    const int position = m_count;
    if (digit == 0 && !ShowsNonZero()) {
        m_text.digits[position] = ' ';
        for (std::size_t d = 0; d < kDotAfter.size(); ++d) {
            if (kDotAfter[d] == position) {
                m_text.dots[d] = ' ';
            }
        }
    } else {
        m_text.digits[position] = static_cast<char>('0' + digit);
    }
    ++m_count;
    return m_count == kRowDigits;
}

void RowEntry::TypePeriod() {
    if (m_count >= 5) {
        return;
    }
    int megahertz = 0;
    for (int i = 0; i < m_count; ++i) {
        const char c = m_text.digits[i];
        megahertz = megahertz * 10 + (c >= '0' && c <= '9' ? c - '0' : 0);
    }
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%5d", megahertz);
    for (int i = 0; i < 5; ++i) {
        m_text.digits[i] = megahertz == 0 ? ' ' : buffer[i];
    }
    // The dots after the GHz and MHz digits follow the digit before them.
    m_text.dots[0] = m_text.digits[1] == ' ' ? ' ' : '.';
    m_text.dots[1] = m_text.digits[4] == ' ' ? ' ' : '.';
    m_count = 5;
}

std::int64_t RowEntry::Value() const {
    std::int64_t value = 0;
    for (const char c : m_text.digits) {
        value = value * 10 + (c >= '0' && c <= '9' ? c - '0' : 0);
    }
    return value;
}

} // namespace pandor
