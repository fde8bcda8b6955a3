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

// kHz to whole hertz within [low, high]; the clamp comes first so that huge
// values never reach the integer conversion.
int ToHertz(double kilohertz, int low, int high) {
    const double hertz = std::clamp(kilohertz * 1000.0, static_cast<double>(low), static_cast<double>(high));
    return static_cast<int>(std::lround(hertz));
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
    while (lines.size() < kValueLines && !text.empty()) {
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

    DesignParams& p = result.params;
    p.type = static_cast<int>(*type);
    int f1Hz = ToHertz(*f1, kMinFrequencyHz, kMaxFrequencyHz);
    // The second cut-off means nothing to a low-pass or high-pass design,
    // whose files carry 0 there.
    int f2Hz = ToHertz(*f2, UsesSecondCutoff(p.type) ? kMinFrequencyHz : 0, kMaxFrequencyHz);
    if (UsesSecondCutoff(p.type)) {
        if (f1Hz > f2Hz) {
            std::swap(f1Hz, f2Hz); // the same filter: only the band's edges are named
        }
        if (f1Hz == f2Hz) {
            if (f2Hz < kMaxFrequencyHz) {
                ++f2Hz;
            } else {
                --f1Hz;
            }
        }
    }
    p.f1 = f1Hz / 1000.0;
    p.f2 = f2Hz / 1000.0;
    p.attenuation = std::clamp(std::round(*attenuation), static_cast<double>(kMinAttenuation),
                               static_cast<double>(kMaxAttenuation));
    return result;
}

} // namespace tonwell
