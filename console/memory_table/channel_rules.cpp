// SPDX-License-Identifier: GPL-3.0-or-later
// The ranges a channel must keep, the tone, DCS, step and mode tables, and
// the exact conversion between megahertz texts and hertz.
#include "memory_channels.h"

#include <corvan.h>

#include <array>
#include <cstddef>
#include <cstdio>

namespace memory_channels {

std::string ChannelLabel(int number) {
    if (number == kCallChannel) {
        return "CALL";
    }
    char text[8];
    std::snprintf(text, sizeof text, "%03d", number);
    return text;
}

int BankOf(int number) {
    return number / 100;
}

int SlotOf(int number) {
    return number % 100;
}

const std::vector<int>& StepHundredths(int mode) {
    static const std::vector<int> wide{500, 625, 1000, 1250, 1500, 2000, 2500, 3000, 5000, 10000};
    static const std::vector<int> narrow{100, 250, 500, 1000};
    return mode == 4 || mode == 5 ? wide : narrow;
}

namespace {
struct ModeEntry {
    int code;
    const char* name;
};
constexpr std::array<ModeEntry, 8> kModes{{{1, "LSB"},
                                           {2, "USB"},
                                           {3, "CW"},
                                           {4, "FM"},
                                           {5, "AM"},
                                           {6, "RTTY"},
                                           {7, "CWR"},
                                           {9, "RTTYR"}}};
// Other names of the same modes, read but never written: the radio's own
// and narrow FM.
constexpr std::array<ModeEntry, 5> kOtherModeNames{
    {{4, "NFM"}, {6, "FSK"}, {7, "CW-R"}, {9, "FSKR"}, {9, "FSK-R"}}};

// The code of the entry named `upper`; nothing when none is.
template <std::size_t N>
std::optional<int> CodeNamed(const std::string& upper, const std::array<ModeEntry, N>& entries) {
    for (const ModeEntry& entry : entries) {
        if (upper == entry.name) {
            return entry.code;
        }
    }
    return std::nullopt;
}
} // namespace

std::string ModeName(int mode) {
    for (const ModeEntry& entry : kModes) {
        if (entry.code == mode) {
            return entry.name;
        }
    }
    return {};
}

std::optional<int> ModeFromName(const std::string& name) {
    std::string upper;
    for (char c : name) {
        upper += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    if (const std::optional<int> code = CodeNamed(upper, kModes)) {
        return code;
    }
    return CodeNamed(upper, kOtherModeNames);
}

BandCheck LinkBandCheck(CCorvan& link) {
    return [&link](std::int64_t hz) {
        return hz > 0 && (link.GetRcvBand(0, hz) != 0 || link.GetRcvBand(2, hz) != 0);
    };
}

bool InSomeBand(std::int64_t hz) {
    CCorvan link;
    return LinkBandCheck(link)(hz);
}

std::string CheckName(const std::string& name, std::uint32_t version) {
    if (name.size() > kNameLimit) {
        return "the name is longer than 8 characters";
    }
    const bool wide = version >= 5 && version <= 9;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == ';') {
            return "the name holds \";\"";
        }
        if (byte < 0x20 || (!wide && byte > 0x7F)) {
            return "the name holds a character the radio cannot show";
        }
    }
    return {};
}

namespace {
bool In(int value, int low, int high) {
    return value >= low && value <= high;
}
bool ListMode(int mode) {
    return !ModeName(mode).empty();
}
} // namespace

std::string CheckChannel(const Channel& c, const BandCheck& inBand, std::uint32_t version) {
    if (!In(c.number, 0, kCallChannel)) {
        return "no such channel";
    }
    if (c.empty()) {
        return {};
    }
    if (c.rxFrequency < 0 || c.rxFrequency > kFrequencyMax || !inBand(c.rxFrequency)) {
        return "the receive frequency lies outside every band";
    }
    if (c.txFrequency != 0 && (c.txFrequency < 0 || c.txFrequency > kFrequencyMax || !inBand(c.txFrequency))) {
        return "the transmit frequency lies outside every band";
    }
    if (!ListMode(c.rxMode) || (c.txFrequency != 0 && !ListMode(c.txMode))) {
        return "a mode the radio lacks";
    }
    if (!In(c.rxStep, 0, static_cast<int>(StepHundredths(c.rxMode).size()) - 1) ||
        (c.txFrequency != 0 && !In(c.txStep, 0, static_cast<int>(StepHundredths(c.txMode).size()) - 1))) {
        return "a step the mode lacks";
    }
    if (!In(c.toneType, 0, 3)) {
        return "no such tone type";
    }
    // 0 stands for no tone chosen; the kind in use needs a real one.
    if (!In(c.toneNumber, c.toneType == 1 ? 1 : 0, 39)) {
        return "a tone the radio lacks";
    }
    if (!In(c.ctcssNumber, c.toneType == 2 ? 1 : 0, 38)) {
        return "a CTCSS tone the radio lacks";
    }
    if (!In(c.dcsCode, 0, 103)) {
        return "a DCS code the radio lacks";
    }
    if (!In(c.reverse, 0, 1) || !In(c.lockout, 0, 1)) {
        return "reverse and lock-out are 0 or 1";
    }
    if (!In(c.shift, 0, 3)) {
        return "no such shift";
    }
    if (c.offset < 0 || c.offset > kOffsetMax || c.offset % kOffsetStep != 0) {
        return "the offset is not 0 to 59.95 MHz in 50 kHz steps";
    }
    if (!In(c.group, 0, 9)) {
        return "the group is 0 to 9";
    }
    return CheckName(c.name, version);
}

std::optional<std::int64_t> ParseMegahertz(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    std::int64_t whole = 0;
    int wholeDigits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (++wholeDigits > 6) {
            return std::nullopt; // beyond 999 999 MHz
        }
        whole = whole * 10 + (text[i] - '0');
        ++i;
    }
    std::int64_t fraction = 0;
    int fractionDigits = 0;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            if (fractionDigits < 6) {
                fraction = fraction * 10 + (text[i] - '0');
            } else if (text[i] != '0') {
                return std::nullopt; // finer than a hertz
            }
            ++fractionDigits;
            ++i;
        }
    }
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    if (i != text.size() || (wholeDigits == 0 && fractionDigits == 0)) {
        return std::nullopt;
    }
    for (int d = fractionDigits; d < 6; ++d) {
        fraction *= 10;
    }
    return whole * 1'000'000 + fraction;
}

std::string FormatMegahertz(std::int64_t hz) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%06lld", static_cast<long long>(hz / 1'000'000),
                  static_cast<long long>(hz % 1'000'000));
    return text;
}

std::optional<int> ParseTenths(const std::string& text) {
    const std::optional<std::int64_t> hz = ParseMegahertz(text);
    if (!hz || *hz % 100'000 != 0) {
        return std::nullopt;
    }
    // "88.5" read as megahertz is 88 500 000; a tenth is 100 000 of those.
    return static_cast<int>(*hz / 100'000);
}

std::string StepText(int mode, int step) {
    const auto& steps = StepHundredths(mode);
    const int hundredths = step >= 0 && step < static_cast<int>(steps.size()) ? steps[static_cast<std::size_t>(step)]
                                                                               : steps.front();
    char text[16];
    std::snprintf(text, sizeof text, "%d.%02d", hundredths / 100, hundredths % 100);
    return text;
}

std::optional<int> StepIndexOf(int mode, const std::string& kiloHertz) {
    const std::optional<std::int64_t> scaled = ParseMegahertz(kiloHertz); // kHz read as MHz
    if (!scaled || *scaled % 10'000 != 0) {
        return std::nullopt;
    }
    const auto& steps = StepHundredths(mode);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (steps[i] == *scaled / 10'000) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

namespace {
std::string Tenths(int tenths) {
    char text[16];
    std::snprintf(text, sizeof text, "%d.%d", tenths / 10, tenths % 10);
    return text;
}
} // namespace

std::string ToneText(int toneNumber) {
    if (toneNumber == corvan::kToneBurstNumber) {
        return Tenths(corvan::kToneBurstTenths);
    }
    const auto& tones = corvan::kCtcssTenths;
    if (toneNumber < 1 || toneNumber > static_cast<int>(tones.size())) {
        return {};
    }
    return Tenths(tones[static_cast<std::size_t>(toneNumber - 1)]);
}

std::optional<int> ToneNumberOf(const std::string& hertz) {
    const std::optional<int> tenths = ParseTenths(hertz);
    if (!tenths) {
        return std::nullopt;
    }
    if (*tenths == corvan::kToneBurstTenths) {
        return corvan::kToneBurstNumber;
    }
    const auto& tones = corvan::kCtcssTenths;
    for (std::size_t i = 0; i < tones.size(); ++i) {
        if (tones[i] == *tenths) {
            return static_cast<int>(i) + 1;
        }
    }
    return std::nullopt;
}

std::optional<int> CtcssNumberOf(const std::string& hertz) {
    const std::optional<int> number = ToneNumberOf(hertz);
    if (!number || *number > 38) {
        return std::nullopt; // 1750 Hz is a burst, not a CTCSS tone
    }
    return number;
}

std::string DcsText(int dcsCode) {
    const auto& codes = corvan::kDcsCodes;
    if (dcsCode < 0 || dcsCode >= static_cast<int>(codes.size())) {
        return {};
    }
    char text[8];
    std::snprintf(text, sizeof text, "%03d", codes[static_cast<std::size_t>(dcsCode)]);
    return text;
}

std::optional<int> DcsCodeOf(const std::string& code) {
    std::string digits;
    for (char c : code) {
        if (c == ' ') {
            continue;
        }
        if (c < '0' || c > '7' || digits.size() == 3) {
            return std::nullopt;
        }
        digits += c;
    }
    if (digits.empty()) {
        return std::nullopt;
    }
    const int value = std::stoi(digits);
    const auto& codes = corvan::kDcsCodes;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (codes[i] == value) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

Channel Normalised(const Channel& channel) {
    if (channel.empty()) {
        Channel plain;
        plain.number = channel.number;
        return plain;
    }
    Channel c = channel;
    // A tone number of 0 (none chosen yet) stays 0: it is what the radio
    // holds, and a write sends it back as it is.
    if (c.txFrequency == 0) {
        c.txMode = c.rxMode;
        c.txStep = c.rxStep;
    }
    return c;
}

} // namespace memory_channels
