// SPDX-License-Identifier: GPL-3.0-or-later
// backend_levels.cpp - the sharing backend's levels and functions: gains,
// meters and power, the switches (blanker, reduction, processor, tones), the
// keyer's text and the repeater's shift, offset, tone and code.
#include "backend_support.h"

#include <corvan.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <utility>

namespace zephyra {

using zshare::Level;
using zshare::Result;
using namespace backend;

namespace {

// The S-meter of this radio reads 0..30: S9 at 15, S9+60 dB at 30.
constexpr int kMeterTop = 30;
constexpr int kMeterS9 = 15;

double StrengthDb(int meter) {
    if (meter <= kMeterS9)
        return (meter - kMeterS9) * 54.0 / kMeterS9; // 6 dB an S unit below S9
    return (meter - kMeterS9) * 60.0 / (kMeterTop - kMeterS9);
}

} // namespace

// ---------------------------------------------------------------- levels

Result ConsoleBackend::GetLevel(Level level, double& value) {
    value = 0;
    if (const Result r = Check(); r != Result::Ok)
        return r;
    CCorvan* link = Link();
    std::optional<long long> v;
    auto fresh = [&](std::function<std::int32_t(u32*)> read, std::function<void()> query) {
        return Read(
            [read]() -> std::optional<long long> {
                u32 x = 0;
                return read(&x) == 1 ? std::optional<long long>(x) : std::nullopt;
            },
            query);
    };
    // A setting read afresh, as a fraction of its full scale.
    auto fraction = [&](std::function<std::int32_t(u32*)> read, std::function<void()> query,
                        double full) {
        v = fresh(std::move(read), std::move(query));
        if (v)
            value = static_cast<double>(*v) / full;
    };
    long long n = 0;
    Result r = Result::Ok;
    switch (level) {
    case Level::KeySpeed:
        r = ReadCode(&CCorvan::RcvDataKS, &CCorvan::ConnKS, n);
        value = static_cast<double>(n);
        return r;
    case Level::MicGain:
        r = ReadCode(&CCorvan::RcvDataMG, &CCorvan::ConnMG, n);
        value = static_cast<double>(n) / 100.0;
        return r;
    case Level::Preamp:
    case Level::Attenuator: {
        const bool pre = level == Level::Preamp;
        v = Read(
            [link, pre]() -> std::optional<long long> {
                u32 main = 0, sub = 0;
                if ((pre ? link->RcvDataPA(&main, &sub) : link->RcvDataRA(&main, &sub)) != 1)
                    return std::nullopt;
                return main;
            },
            [link, pre] { pre ? link->ConnPA("R", 0) : link->ConnRA("R", 0); });
        if (v)
            value = *v != 0 ? (pre ? kPreampDb : kAttenuatorDb) : 0;
        break;
    }
    case Level::Compression:
        fraction(
            [link](u32* in) {
                u32 out = 0;
                return link->RcvDataPL(in, &out);
            },
            [link] { link->ConnPL("R", 0, 0); }, 100.0);
        break;
    case Level::RawStrength:
    case Level::Strength:
    case Level::PowerMeter: {
        if (level == Level::PowerMeter) {
            bool transmitting = false;
            GetPtt(transmitting);
            if (!transmitting)
                return Result::Ok;
        }
        // A meter is read afresh every time.
        link->ConnSM(0);
        v = fresh([link](u32* x) { return link->RcvDataSM(0, x); }, [] {}); // asked just above
        if (!v)
            return Result::TimedOut;
        const int meter = static_cast<int>(std::min<long long>(*v, kMeterTop));
        value = level == Level::Strength      ? StrengthDb(meter)
                : level == Level::RawStrength ? meter
                                              : static_cast<double>(meter) / kMeterTop;
        return Result::Ok;
    }
    case Level::RfPower:
        fraction([link](u32* x) { return link->RcvDataPC(x); }, [link] { link->ConnPC("R", 0); },
                 100.0);
        break;
    case Level::Af:
        fraction([link](u32* x) { return link->RcvDataAG(0, x); },
                 [link] { link->ConnAG("R", 0, 0); }, 255.0);
        break;
    case Level::Rf:
        fraction([link](u32* x) { return link->RcvDataRG(x); }, [link] { link->ConnRG("R", 0); },
                 255.0);
        break;
    case Level::Squelch:
        fraction([link](u32* x) { return link->RcvDataSQ(0, x); },
                 [link] { link->ConnSQ("R", 0, 0); }, 255.0);
        break;
    }
    return v ? Result::Ok : Result::TimedOut;
}

Result ConsoleBackend::SetLevel(Level level, double value) {
    if (const Result r = Check(); r != Result::Ok)
        return r;
    CCorvan* link = Link();
    switch (level) {
    case Level::KeySpeed:
        // The keyer runs at 10..60 words a minute.
        if (!(value >= 10 && value <= 60) || value != std::floor(value))
            return Result::InvalidArgument;
        return WriteCode(&CCorvan::ConnKS, &CCorvan::RcvDataKS, static_cast<u32>(value));
    case Level::Preamp:
    case Level::Attenuator: {
        const bool pre = level == Level::Preamp;
        const int db = static_cast<int>(value);
        if (value != db || (db != 0 && db != (pre ? kPreampDb : kAttenuatorDb)))
            return Result::InvalidArgument;
        if (m_state.controlBand != 0)
            return Result::NotAvailable; // the switch would go to the sub receiver
        const u32 on = db != 0 ? 1 : 0;
        return SetAndConfirm(
            [&] { return (pre ? link->ConnPA("W", on) : link->ConnRA("W", on)) == 1; },
            [link, pre]() -> std::optional<long long> {
                u32 main = 0, sub = 0;
                if ((pre ? link->RcvDataPA(&main, &sub) : link->RcvDataRA(&main, &sub)) != 1)
                    return std::nullopt;
                return main != 0 ? 1 : 0;
            },
            on, [link, pre] { pre ? link->ConnPA("R", 0) : link->ConnRA("R", 0); });
    }
    default:
        break;
    }
    if (!(value >= 0.0 && value <= 1.0))
        return Result::InvalidArgument;
    auto stored = [](std::function<std::int32_t(u32*)> read) {
        return [read]() -> std::optional<long long> {
            u32 x = 0;
            return read(&x) == 1 ? std::optional<long long>(x) : std::nullopt;
        };
    };
    // A gain of 0..255 written, then confirmed from the stored reply.
    auto setGain = [&](const std::function<std::int32_t(u32)>& write,
                       std::function<std::int32_t(u32*)> read, std::function<void()> query) {
        const auto g = static_cast<u32>(std::lround(value * 255.0));
        return SetAndConfirm([&] { return write(g) == 1; }, stored(std::move(read)), g,
                             std::move(query));
    };
    switch (level) {
    case Level::RfPower: {
        // This radio sets 1..100 %.
        const auto pc = static_cast<u32>(std::clamp<long>(std::lround(value * 100.0), 1, 100));
        return SetAndConfirm([&] { return link->ConnPC("W", pc) == 1; },
                             stored([link](u32* x) { return link->RcvDataPC(x); }), pc,
                             [link] { link->ConnPC("R", 0); });
    }
    case Level::Af:
        return setGain([link](u32 g) { return link->ConnAG("W", 0, g); },
                       [link](u32* x) { return link->RcvDataAG(0, x); },
                       [link] { link->ConnAG("R", 0, 0); });
    case Level::Rf:
        return setGain([link](u32 g) { return link->ConnRG("W", g); },
                       [link](u32* x) { return link->RcvDataRG(x); }, [link] { link->ConnRG("R", 0); });
    case Level::Squelch:
        return setGain([link](u32 g) { return link->ConnSQ("W", 0, g); },
                       [link](u32* x) { return link->RcvDataSQ(0, x); },
                       [link] { link->ConnSQ("R", 0, 0); });
    case Level::MicGain:
        return WriteCode(&CCorvan::ConnMG, &CCorvan::RcvDataMG, static_cast<u32>(std::lround(value * 100.0)));
    case Level::Compression: {
        // The processor's input level; its output level stays.
        const auto in = static_cast<u32>(std::lround(value * 100.0));
        const auto now = Read(
            [link]() -> std::optional<long long> {
                u32 a = 0, b = 0;
                return link->RcvDataPL(&a, &b) == 1 ? std::optional<long long>(b) : std::nullopt;
            },
            [link] { link->ConnPL("R", 0, 0); });
        if (!now)
            return Result::TimedOut;
        const auto out = static_cast<u32>(*now);
        return SetAndConfirm([&] { return link->ConnPL("W", in, out) == 1; },
                             [link]() -> std::optional<long long> {
                                 u32 a = 0, b = 0;
                                 return link->RcvDataPL(&a, &b) == 1 ? std::optional<long long>(a) : std::nullopt;
                             },
                             in, [link] { link->ConnPL("R", 0, 0); });
    }
    default:
        break;
    }
    return Result::InvalidArgument;
}

// ---------------------------------------------------------------- switches

Result ConsoleBackend::GetFunc(zshare::Func func, bool& on) {
    on = false;
    if (const Result r = Check(); r != Result::Ok)
        return r;
    long long v = 0;
    Result r = Result::Ok;
    switch (func) {
    case zshare::Func::NoiseBlanker: r = ReadCode(&CCorvan::RcvDataNB, &CCorvan::ConnNB, v); break;
    case zshare::Func::NoiseReduction: r = ReadCode(&CCorvan::RcvDataNR, &CCorvan::ConnNR, v); break;
    case zshare::Func::Compressor: r = ReadCode(&CCorvan::RcvDataPR, &CCorvan::ConnPR, v); break;
    case zshare::Func::Tone: r = ReadCode(&CCorvan::RcvDataTO, &CCorvan::ConnTO, v); break;
    case zshare::Func::ToneSquelch: r = ReadCode(&CCorvan::RcvDataCT, &CCorvan::ConnCT, v); break;
    }
    on = v != 0;
    return r;
}

Result ConsoleBackend::SetFunc(zshare::Func func, bool on) {
    if (const Result r = Check(); r != Result::Ok)
        return r;
    bool now = false;
    if (const Result r = GetFunc(func, now); r == Result::Ok && now == on)
        return Result::Ok; // NR 2 stays NR 2 when a client asks for "on"
    const u32 v = on ? 1 : 0;
    switch (func) {
    case zshare::Func::NoiseBlanker: return WriteCode(&CCorvan::ConnNB, &CCorvan::RcvDataNB, v);
    case zshare::Func::NoiseReduction: return WriteCode(&CCorvan::ConnNR, &CCorvan::RcvDataNR, v);
    case zshare::Func::Compressor: return WriteCode(&CCorvan::ConnPR, &CCorvan::RcvDataPR, v);
    case zshare::Func::Tone: return WriteCode(&CCorvan::ConnTO, &CCorvan::RcvDataTO, v);
    case zshare::Func::ToneSquelch: return WriteCode(&CCorvan::ConnCT, &CCorvan::RcvDataCT, v);
    }
    return Result::InvalidArgument;
}

// ---------------------------------------------------------------- keyer

// One KY text of at most 24 characters, only while the keyer is not busy
// sending the last one (the radio would cut it off).
Result ConsoleBackend::SendMorse(const std::string& text) {
    if (const Result r = Check(); r != Result::Ok)
        return r;
    if (text.empty() || static_cast<int>(text.size()) > kKeyerCharacters)
        return Result::InvalidArgument;
    for (const char ch : text)
        if (ch < ' ' || ch > 'Z' || ch == ';')
            return Result::InvalidArgument;
    CCorvan* link = Link();
    const auto busy = Read(
        [link]() -> std::optional<long long> {
            u32 x = 0;
            return link->RcvDataKY(&x) == 1 ? std::optional<long long>(x) : std::nullopt;
        },
        [link] { link->ConnKY("R", ""); });
    if (!busy)
        return Result::TimedOut;
    if (*busy != 0)
        return Result::Rejected;
    if (link->ConnKY("W", text.c_str()) != 1)
        return Result::Rejected;
    // The next read must not take the stored "not busy" for the keyer's state.
    link->ConnKY("R", "");
    return Result::Ok;
}

// ---------------------------------------------------------------- repeater

Result ConsoleBackend::GetShift(zshare::Shift& shift) {
    shift = zshare::Shift::None;
    if (const Result r = Check(); r != Result::Ok)
        return r;
    long long v = 0;
    const Result r = ReadCode(&CCorvan::RcvDataOS, &CCorvan::ConnOS, v);
    // OS 3 is the radio's fixed downward shift.
    shift = v == 1 ? zshare::Shift::Plus : v >= 2 ? zshare::Shift::Minus : zshare::Shift::None;
    return r;
}

Result ConsoleBackend::SetShift(zshare::Shift shift) {
    if (const Result r = Check(); r != Result::Ok)
        return r;
    const u32 v = shift == zshare::Shift::Plus ? 1 : shift == zshare::Shift::Minus ? 2 : 0;
    return WriteCode(&CCorvan::ConnOS, &CCorvan::RcvDataOS, v);
}

Result ConsoleBackend::GetRepeaterOffset(std::int64_t& hz) {
    hz = 0;
    if (const Result r = Check(); r != Result::Ok)
        return r;
    long long v = 0;
    const Result r = ReadCode(&CCorvan::RcvDataOF, &CCorvan::ConnOF, v);
    hz = v;
    return r;
}

Result ConsoleBackend::SetRepeaterOffset(std::int64_t hz) {
    if (const Result r = Check(); r != Result::Ok)
        return r;
    if (hz < 0 || hz > m_description.maxRepeaterOffset)
        return Result::InvalidArgument;
    return WriteCode(&CCorvan::ConnOF, &CCorvan::RcvDataOF, static_cast<u32>(hz));
}

Result ConsoleBackend::GetCtcssTone(int& tenths) {
    tenths = 0;
    if (const Result r = Check(); r != Result::Ok)
        return r;
    long long v = 0;
    const Result r = ReadCode(&CCorvan::RcvDataTN, &CCorvan::ConnTN, v);
    if (r != Result::Ok)
        return r;
    const auto count = static_cast<long long>(std::size(kCtcssTenths));
    if (v >= 1 && v <= count)
        tenths = kCtcssTenths[v - 1];
    else if (v == kToneBurstNumber)
        tenths = kToneBurstTenths;
    return Result::Ok;
}

// Tone 0 switches the repeater tone off (the tone number stays). The 1750 Hz
// burst is taken as it is read back, as tone number 39.
Result ConsoleBackend::SetCtcssTone(int tenths) {
    if (const Result r = Check(); r != Result::Ok)
        return r;
    if (tenths == 0)
        return SetFunc(zshare::Func::Tone, false);
    if (tenths == kToneBurstTenths)
        return WriteCode(&CCorvan::ConnTN, &CCorvan::RcvDataTN, kToneBurstNumber);
    const auto at = std::find(std::begin(kCtcssTenths), std::end(kCtcssTenths), tenths);
    if (at == std::end(kCtcssTenths))
        return Result::InvalidArgument;
    const auto number = static_cast<u32>(at - std::begin(kCtcssTenths) + 1);
    return WriteCode(&CCorvan::ConnTN, &CCorvan::RcvDataTN, number);
}

Result ConsoleBackend::GetDcsCode(int& code) {
    code = 0;
    if (const Result r = Check(); r != Result::Ok)
        return r;
    long long v = 0;
    const Result r = ReadCode(&CCorvan::RcvDataQC, &CCorvan::ConnQC, v);
    if (r == Result::Ok && v >= 0 && v < static_cast<long long>(std::size(kDcsCodes)))
        code = kDcsCodes[v];
    return r;
}

// Code 0 switches DCS off (the code stays).
Result ConsoleBackend::SetDcsCode(int code) {
    if (const Result r = Check(); r != Result::Ok)
        return r;
    if (code == 0)
        return WriteCode(&CCorvan::ConnDQ, &CCorvan::RcvDataDQ, 0);
    const auto at = std::find(std::begin(kDcsCodes), std::end(kDcsCodes), code);
    if (at == std::end(kDcsCodes))
        return Result::InvalidArgument;
    return WriteCode(&CCorvan::ConnQC, &CCorvan::RcvDataQC, static_cast<u32>(at - std::begin(kDcsCodes)));
}

} // namespace zephyra
