// SPDX-License-Identifier: GPL-3.0-or-later
// design_file.cpp - writing and reading the design-data file.
#include "design_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

namespace tonwell {

namespace {

constexpr int kValueLines = 5;
constexpr int kNoteLines = 2; // the empty line and the note's heading
constexpr std::string_view kNoteHeading = "----- Note -----";
constexpr std::size_t kLongestNumber = 64;

std::string_view Trim(std::string_view text) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; };
    while (!text.empty() && isSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The line as a finite decimal number, or nothing.
std::optional<double> ToNumber(std::string_view line) {
    line = Trim(line);
    if (!line.empty() && line.front() == '+') {
        line.remove_prefix(1);
    }
    if (line.empty() || line.size() > kLongestNumber) {
        return std::nullopt;
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), value,
                                           std::chars_format::general);
    if (ec != std::errc{} || end != line.data() + line.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// The whole part of `value` x `scale`, as the decimal text means it: a
// product that binary fractions put a hair below a whole number ("4.001"
// x 1000 = 4000.9999...) is that number, anything else loses its fraction
// (300.9 Hz is 300 Hz, 20.9 dB is 20 dB).
double WholePart(double value, double scale) {
    const double scaled = value * scale;
    const double nearest = std::round(scaled);
    if (std::fabs(scaled - nearest) <= 1e-9 * std::max(1.0, std::fabs(scaled))) {
        return nearest;
    }
    return std::trunc(scaled);
}

// kHz to whole hertz, or nothing when the value lies outside [low, high]
// (the range test comes first, so huge values never reach the conversion).
std::optional<int> ToHertz(double kilohertz, int low, int high) {
    const double hertz = WholePart(kilohertz, 1000.0);
    if (hertz < low || hertz > high) {
        return std::nullopt;
    }
    return static_cast<int>(hertz);
}

} // namespace

std::string FormatFixed3(double value) {
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
    std::string text = ec == std::errc{} ? std::string(buffer, end) : std::string("0.000");
    if (text.size() < 5) {
        text.insert(0, 5 - text.size(), ' ');
    }
    return text;
}

std::string FormatDesignFile(const DesignParams& params) {
    std::string text;
    text += std::to_string(params.type) + '\n';
    text += FormatFixed3(PrototypeCutoff(params)) + '\n';
    text += FormatFixed3(params.f1) + '\n';
    text += FormatFixed3(params.f2) + '\n';
    text += FormatFixed3(params.attenuation) + '\n';
    text += "\n----- Note -----\n\n";
    return text;
}

ParsedDesign ParseDesignFile(std::string_view text) {
    ParsedDesign result;
    std::vector<std::string_view> lines;
    while (lines.size() < kValueLines + kNoteLines && !text.empty()) {
        const auto end = text.find('\n');
        lines.push_back(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }
    if (lines.size() < kValueLines) {
        result.error = FileError::TooFewLines;
        return result;
    }
    const auto type = ToNumber(lines[0]);
    const auto f1 = ToNumber(lines[2]);
    const auto f2 = ToNumber(lines[3]);
    const auto attenuation = ToNumber(lines[4]);
    if (!type || !f1 || !f2 || !attenuation) {
        result.error = FileError::NotANumber;
        return result;
    }
    if (*type != std::trunc(*type) || !IsValidType(static_cast<int>(std::clamp(*type, -1.0, 9.0)))) {
        result.error = FileError::BadType;
        return result;
    }
    // A file cut short anywhere before its note block is not trusted, even
    // when its fifth line still reads as a number ("6" of "60.000").
    if (lines.size() < kValueLines + kNoteLines || !Trim(lines[5]).empty() ||
        Trim(lines[6]) != kNoteHeading) {
        result.error = FileError::NoNote;
        return result;
    }

    DesignParams& p = result.params;
    p.type = static_cast<int>(*type);
    const bool band = UsesSecondCutoff(p.type);
    const auto f1Hz = ToHertz(*f1, kMinFrequencyHz, kMaxFrequencyHz);
    // A low-pass or high-pass design leaves the second cut-off where it
    // was: 0 until a band design set it.
    const auto f2Hz = ToHertz(*f2, band ? kMinFrequencyHz : 0, kMaxFrequencyHz);
    const double decibels = WholePart(*attenuation, 1.0);
    if (!f1Hz || !f2Hz || (band && *f1Hz >= *f2Hz) || decibels < kMinAttenuation ||
        decibels > kMaxAttenuation) {
        result.error = FileError::OutOfRange;
        return result;
    }
    p.f1 = *f1Hz / 1000.0;
    p.f2 = *f2Hz / 1000.0;
    p.attenuation = decibels;
    return result;
}

} // namespace tonwell
