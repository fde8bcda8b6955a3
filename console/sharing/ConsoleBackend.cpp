// SPDX-License-Identifier: GPL-3.0-or-later
// ConsoleBackend.cpp - what a sharing client gets and sets, over the
// console's link and state.
#include "RadioSharing.h"

#include <corvan.h>

#include <algorithm>
#include <chrono>
#include <iterator>
#include <cmath>
#include <cstdio>
#include <thread>

namespace zephyra {

using zshare::Level;
using zshare::Mode;
using zshare::Result;
using zshare::Vfo;
using u32 = std::uint32_t;

namespace {

constexpr std::int64_t MHz = 1'000'000;
constexpr std::uint32_t kAllModes = 0x1bf;
constexpr std::uint32_t kVfos = 0x3;     // A and B
constexpr std::uint32_t kAntennas = 0x3; // ANT 1 and 2
// The S-meter of this radio reads 0..30: S9 at 15, S9+60 dB at 30.
constexpr int kMeterTop = 30;
constexpr int kMeterS9 = 15;
// The preamplifier's gain and the attenuator's loss, as clients are told.
constexpr int kPreampDb = 10;
constexpr int kAttenuatorDb = 12;
// The keyer takes 24 characters at a time (KY).
constexpr int kKeyerCharacters = 24;

// The repeater tones of TN and CN (numbers 1..38; TN 39 is the 1750 Hz
// burst), tenths of Hz.
constexpr int kCtcssTenths[] = {
    670,  719,  744,  770,  797,  825,  854,  885,  915,  948,  974,  1000, 1035,
    1072, 1109, 1148, 1188, 1230, 1273, 1318, 1365, 1413, 1462, 1514, 1567, 1622,
    1679, 1738, 1799, 1862, 1928, 2035, 2107, 2181, 2257, 2336, 2418, 2503,
};
constexpr int kToneBurst = 17'500;

// The DCS codes of QC 0..103, as written.
constexpr int kDcsCodes[] = {
    23,  25,  26,  31,  32,  36,  43,  47,  51,  53,  54,  65,  71,  72,  73,  74,  114, 115,
    116, 122, 125, 131, 132, 134, 143, 145, 152, 155, 156, 162, 165, 172, 174, 205, 212, 223,
    225, 226, 243, 244, 245, 246, 251, 252, 255, 261, 263, 265, 266, 271, 274, 306, 311, 315,
    325, 331, 332, 343, 346, 351, 356, 364, 365, 371, 411, 412, 413, 423, 431, 432, 445, 446,
    452, 454, 455, 462, 464, 465, 466, 503, 506, 516, 523, 526, 532, 546, 565, 606, 612, 624,
    627, 631, 632, 654, 662, 664, 703, 712, 723, 731, 732, 734, 743, 754,
};

std::string FrequencyText(std::int64_t hz) {
    char text[24];
    std::snprintf(text, sizeof text, "%011lld", static_cast<long long>(hz));
    return text;
}

std::optional<long long> ParseFrequency(const char* text) {
    long long hz = 0;
    int digits = 0;
    for (const char* p = text; *p; ++p) {
        if (*p < '0' || *p > '9')
            return std::nullopt;
        hz = hz * 10 + (*p - '0');
        if (++digits > 11)
            return std::nullopt;
    }
    if (digits == 0)
        return std::nullopt;
    return hz;
}

double StrengthDb(int meter) {
    if (meter <= kMeterS9)
        return (meter - kMeterS9) * 54.0 / kMeterS9; // 6 dB an S unit below S9
    return (meter - kMeterS9) * 60.0 / (kMeterTop - kMeterS9);
}

void Sleep1() { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }

} // namespace

ConsoleBackend::ConsoleBackend(ConsoleState& state, LinkSource link, BusyCheck busy)
    : m_state(state), m_link(std::move(link)), m_busy(std::move(busy)), m_description(QxDescription()) {}

zshare::RadioDescription ConsoleBackend::QxDescription() {
    zshare::RadioDescription d;
    d.name = QStringLiteral("QX-9000");
    d.model = 2;
    d.ituRegion = 1;
    auto rx = [](std::int64_t lo, std::int64_t hi) {
        return zshare::FrequencyRange{lo, hi, kAllModes, -1, -1, kVfos, kAntennas};
    };
    d.receive = {rx(30'000, 60 * MHz), rx(142 * MHz, 152 * MHz), rx(420 * MHz, 450 * MHz),
                 rx(1240 * MHz, 1300 * MHz)};
    auto tx = [](std::int64_t lo, std::int64_t hi, int lowW, int highW) {
        return zshare::FrequencyRange{lo, hi, kAllModes, lowW * 1000, highW * 1000, kVfos, kAntennas};
    };
    d.transmit = {tx(1'800'000, 2'000'000, 5, 100),    tx(3'500'000, 4'000'000, 5, 100),
                  tx(7'000'000, 7'300'000, 5, 100),    tx(10'100'000, 10'150'000, 5, 100),
                  tx(14'000'000, 14'350'000, 5, 100),  tx(18'068'000, 18'168'000, 5, 100),
                  tx(21'000'000, 21'450'000, 5, 100),  tx(24'890'000, 24'990'000, 5, 100),
                  tx(28'000'000, 29'700'000, 5, 100),  tx(50 * MHz, 54 * MHz, 5, 100),
                  tx(144 * MHz, 148 * MHz, 5, 50),     tx(430 * MHz, 450 * MHz, 5, 50),
                  tx(1240 * MHz, 1300 * MHz, 1, 10)};
    for (int step : {1, 10, 100, 1000, 5000, 6250, 10000, 12500, 15000, 20000, 25000, 30000, 50000, 100000})
        d.steps.emplace_back(kAllModes, step);
    d.filters = {{0x0c, 2400}, {0x0c, 1800}, {0x0c, 2700}, {0x82, 500},
                 {0x82, 250},  {0x82, 2400}, {0x110, 500}, {0x110, 1000},
                 {0x01, 6000}, {0x01, 2400}, {0x20, 6000}, {0x20, 3000}};
    // AM and FM have two filters each, the wide one (listed first, the normal
    // width) and the narrow one. Narrow FM halves the deviation, so beside the
    // 6000 Hz given for wide FM its filter is listed at half that, 3000 Hz.
    // A client's width up to the narrow one picks narrow, any other wide.
    d.maxRit = 99'999;
    d.maxXit = 99'999;
    d.maxIfShift = 0;
    d.maxPowerWatts = 100;
    d.bandwidths = {250, 500, 1000, 1800, 2400, 2700, 6000};
    d.preamps = {kPreampDb};
    d.attenuators = {kAttenuatorDb};
    d.getLevels = {Level::Strength, Level::RawStrength, Level::RfPower, Level::Af,      Level::Rf,
                   Level::Squelch,  Level::KeySpeed,    Level::Preamp,  Level::Attenuator, Level::MicGain,
                   Level::Compression};
    d.setLevels = {Level::RfPower, Level::Af,         Level::Rf,      Level::Squelch,
                   Level::KeySpeed, Level::Preamp,    Level::Attenuator, Level::MicGain,
                   Level::Compression};
    d.funcs = {zshare::Func::NoiseBlanker, zshare::Func::NoiseReduction, zshare::Func::Compressor,
               zshare::Func::Tone, zshare::Func::ToneSquelch};
    d.vfoOps = {zshare::VfoOp::Up,   zshare::VfoOp::Down, zshare::VfoOp::BandUp,
                zshare::VfoOp::BandDown, zshare::VfoOp::Copy, zshare::VfoOp::Exchange};
    d.ctcssTones.assign(std::begin(kCtcssTenths), std::end(kCtcssTenths));
    d.dcsCodes.assign(std::begin(kDcsCodes), std::end(kDcsCodes));
    d.keyerLimit = kKeyerCharacters;
    d.maxMemory = 299;
    d.maxRepeaterOffset = 59'950'000;
    return d;
}

int ConsoleBackend::ModeCode(Mode mode) {
    switch (mode) {
    case Mode::Lsb: return 1;
    case Mode::Usb: return 2;
    case Mode::Cw: return 3;
    case Mode::Fm: return 4;
    case Mode::Am: return 5;
    case Mode::Rtty: return 6;
    case Mode::Cwr: return 7;
    case Mode::Rttyr: return 9;
    case Mode::Unknown: break;
    }
    return 0;
}

Mode ConsoleBackend::ModeOfCode(int code) {
    switch (code) {
    case 1: return Mode::Lsb;
    case 2: return Mode::Usb;
    case 3: return Mode::Cw;
    case 4: return Mode::Fm;
    case 5: return Mode::Am;
    case 6: return Mode::Rtty;
    case 7: return Mode::Cwr;
    case 9: return Mode::Rttyr;
    default: return Mode::Unknown;
    }
}

// ---------------------------------------------------------------- plumbing

bool ConsoleBackend::Busy() const { return m_busy && m_busy(); }

bool ConsoleBackend::Ready() const { return Check() == Result::Ok; }

Result ConsoleBackend::Check(bool needPower) const {
    if (!Link() || !CCorvan::IsOpen() || CCorvan::IsDirectMode() || !m_state.connected || m_state.tncMode)
        return Result::NotAvailable;
    if (needPower && (!m_state.consoleReady || !m_state.initialReadDone))
        return Result::NotAvailable;
    return Result::Ok;
}

std::optional<long long> ConsoleBackend::Read(const Stored& stored, const std::function<void()>& query) {
    if (auto v = stored())
        return v;
    query();
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_answerMs);
    while (std::chrono::steady_clock::now() < end) {
        if (auto v = stored())
            return v;
        Sleep1();
    }
    return stored();
}

Result ConsoleBackend::SetAndConfirm(const std::function<bool()>& write, const Stored& stored, long long expected,
                                     const std::function<void()>& query) {
    if (!write())
        return Result::Rejected;
    // The radio reports the change itself (auto-information).
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_reportMs);
    while (std::chrono::steady_clock::now() < until) {
        if (stored() == expected)
            return Result::Ok;
        Sleep1();
    }
    // No report: ask.
    query();
    until = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_answerMs);
    std::optional<long long> seen;
    while (std::chrono::steady_clock::now() < until) {
        seen = stored();
        if (seen == expected)
            return Result::Ok;
        if (seen)
            break;
        Sleep1();
    }
    return seen ? Result::Rejected : Result::TimedOut;
}

std::optional<ConsoleBackend::IfFields> ConsoleBackend::StoredIf() const {
    CCorvan* link = Link();
    if (!link)
        return std::nullopt;
    char text[corvan::kFrequencyTextSize] = {};
    u32 n[14] = {};
    if (link->RcvDataIF(text, &n[0], &n[1], &n[2], &n[3], &n[4], &n[5], &n[6], &n[7], &n[8], &n[9], &n[10],
                        &n[11], &n[12], &n[13]) != 1)
        return std::nullopt;
    text[sizeof text - 1] = '\0';
    IfFields f;
    f.frequency = ParseFrequency(text).value_or(0);
    f.offset = static_cast<int>(static_cast<std::int32_t>(n[1]));
    f.rit = static_cast<int>(n[2]);
    f.xit = static_cast<int>(n[3]);
    f.transmitting = static_cast<int>(n[6]);
    f.mode = static_cast<int>(n[7]);
    f.function = static_cast<int>(n[8]);
    f.split = static_cast<int>(n[10]);
    return f;
}

std::optional<ConsoleBackend::IfFields> ConsoleBackend::ReadIf() {
    if (auto f = StoredIf())
        return f;
    Read([this]() -> std::optional<long long> { return StoredIf() ? std::optional<long long>(1) : std::nullopt; },
         [this] { Link()->ConnIF(); });
    return StoredIf();
}

// A record a read query has just cleared (the console asks too) is waited
// for, not taken from the console's state, which follows later.
int ConsoleBackend::ReceiveVfo() {
    CCorvan* link = Link();
    if (m_state.controlBand == 0 && link) {
        const auto v = Read(
            [link]() -> std::optional<long long> {
                u32 x = 0;
                return link->RcvDataFR(&x) == 1 && x <= 3 ? std::optional<long long>(x) : std::nullopt;
            },
            [link] { link->ConnFR("R", 0); });
        if (v)
            return static_cast<int>(*v);
    }
    return m_state.mainVfo <= 3 ? m_state.mainVfo : 0;
}

int ConsoleBackend::TransmitVfo() {
    CCorvan* link = Link();
    if (link) {
        const auto v = Read(
            [link]() -> std::optional<long long> {
                u32 x = 0;
                return link->RcvDataFT(&x) == 1 && x <= 3 ? std::optional<long long>(x) : std::nullopt;
            },
            [link] { link->ConnFT("R", 0); });
        if (v)
            return static_cast<int>(*v);
    }
    return m_state.mainTransmitVfo <= 3 ? m_state.mainTransmitVfo : ReceiveVfo();
}

std::optional<long long> ConsoleBackend::StoredFrequency(int vfo) const {
    CCorvan* link = Link();
    if (!link)
        return std::nullopt;
    char text[corvan::kFrequencyTextSize] = {};
    const std::int32_t ok = vfo == 1 ? link->RcvDataFB(text) : link->RcvDataFA(text);
    if (ok != 1)
        return std::nullopt;
    text[sizeof text - 1] = '\0';
    const auto hz = ParseFrequency(text);
    if (hz && vfo >= 0 && vfo <= 1)
        m_lastFrequency[static_cast<std::size_t>(vfo)] = hz;
    return hz;
}

// ---------------------------------------------------------------- frequency

Result ConsoleBackend::GetFrequency(Vfo vfo, std::int64_t& hz) {
    hz = 0;
    if (const Result r = Check(); r != Result::Ok)
        return r;
    const int rx = ReceiveVfo();
    const int which = vfo == Vfo::A ? 0 : vfo == Vfo::B ? 1 : vfo == Vfo::Memory ? 2 : rx;
    if (which >= 2) {
        // Memory or call channel: the frequency the main band is on.
        if (vfo == Vfo::Memory && rx < 2)
            return Result::NotAvailable;
        if (m_state.controlBand == 0)
            if (auto f = ReadIf()) {
                hz = f->frequency;
                return Result::Ok;
            }
        hz = m_state.mainFrequency;
        return Result::Ok;
    }
    auto v = Read([this, which] { return StoredFrequency(which); },
                  [this, which] { which == 1 ? Link()->ConnFB("R", "") : Link()->ConnFA("R", ""); });
    // A read query clears the record until its answer; an answer lost on a
    // rough line leaves the frequency the radio reported last, which is
    // still what it holds (every change is reported).
    if (!v)
        v = m_lastFrequency[static_cast<std::size_t>(which)];
    if (!v)
        return Result::TimedOut;
    hz = *v;
    return Result::Ok;
}

Result ConsoleBackend::SetFrequency(Vfo vfo, std::int64_t hz) {
    if (const Result r = Check(); r != Result::Ok)
        return r;
    if (!zshare::InRanges(m_description.receive, hz))
        return Result::InvalidArgument;
    const int which = vfo == Vfo::A ? 0 : vfo == Vfo::B ? 1 : vfo == Vfo::Memory ? 2 : ReceiveVfo();
    if (which >= 2)
        return Result::NotAvailable; // a memory channel is not retuned from outside
    const std::string text = FrequencyText(hz);
    return SetAndConfirm(
        [this, which, &text] {
            return (which == 1 ? Link()->ConnFB("W", text.c_str()) : Link()->ConnFA("W", text.c_str())) == 1;
        },
        [this, which] { return StoredFrequency(which); }, hz,
        [this, which] { which == 1 ? Link()->ConnFB("R", "") : Link()->ConnFA("R", ""); });
}

// ---------------------------------------------------------------- mode

Result ConsoleBackend::GetMode(Vfo vfo, Mode& mode, int& passband) {
    mode = Mode::Unknown;
    passband = 0;
    if (const Result r = Check(); r != Result::Ok)
        return r;
    CCorvan* link = Link();
    const int rx = ReceiveVfo();
    const int which = vfo == Vfo::A ? 0 : vfo == Vfo::B ? 1 : rx;
    // The width is the band's filter: A and B receive through the same one.
    const auto width = Read(
        [this, link]() -> std::optional<long long> {
            u32 v = 0;
            if (m_state.controlBand == 0 && link->RcvDataFW(&v) == 1)
                return v;
            if (m_state.filterWidth[0] >= 0)
                return m_state.filterWidth[0];
            return std::nullopt;
        },
        [link] { link->ConnFW("R", 0); });
    if (which != rx) {
        // The other VFO's mode is read from the radio (OI), or is the one
        // this backend last set or saw on it; never the receive VFO's.
        const Mode other = ReadOtherMode(which);
        if (other == Mode::Unknown)
            return Result::NotAvailable;
        mode = other;
        // The filter's value means what the receive mode makes it mean.
        passband = width ? FilterWidth(ReceiveMode(rx, other), *width) : 0;
        return Result::Ok;
    }
    const auto code = Read(
        [this, link]() -> std::optional<long long> {
            u32 v = 0;
            if (m_state.controlBand == 0 && link->RcvDataMD(&v) == 1 && v >= 1 && v <= 9)
                return v;
            if (m_state.mode[0] != 0)
                return m_state.mode[0];
            return std::nullopt;
        },
        [link] { link->ConnMD("R", 0); });
    if (!code)
        return Result::TimedOut;
    mode = ModeOfCode(static_cast<int>(*code));
    passband = width ? FilterWidth(mode, *width) : 0;
    if (rx <= 1)
        m_vfoMode[static_cast<std::size_t>(rx)] = mode;
    return Result::Ok;
}

Mode ConsoleBackend::ReadOtherMode(int which) {
    CCorvan* link = Link();
    if (which > 1)
        return Mode::Unknown;
    // OI reports the other VFO (the transmit VFO in split, else the other of
    // A and B); its builder clears the record first.
    if (m_state.controlBand == 0 && link->ConnOI() == 1) {
        char text[corvan::kFrequencyTextSize] = {};
        u32 n[14] = {};
        auto other = [&]() -> std::optional<long long> {
            if (link->RcvDataOI(text, &n[0], &n[1], &n[2], &n[3], &n[4], &n[5], &n[6], &n[7], &n[8], &n[9],
                                &n[10], &n[11], &n[12], &n[13]) != 1)
                return std::nullopt;
            return static_cast<long long>(n[8]) * 16 + n[7];
        };
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_answerMs);
        std::optional<long long> seen;
        while (!(seen = other()) && std::chrono::steady_clock::now() < until)
            Sleep1();
        if (seen && *seen / 16 == which) {
            const Mode m = ModeOfCode(static_cast<int>(*seen % 16));
            m_vfoMode[static_cast<std::size_t>(which)] = m;
            return m;
        }
    }
    return m_vfoMode[static_cast<std::size_t>(which)];
}

// The width a client's passband 0 asks for: the first filter listed for the
// mode (its normal width).
int ConsoleBackend::NormalWidth(Mode mode) const {
    for (const auto& [modes, hz] : m_description.filters)
        if (modes & zshare::ModeBit(mode))
            return hz;
    return -1;
}

Mode ConsoleBackend::ReceiveMode(int rx, Mode fallback) const {
    if (m_state.mode[0] != 0)
        return ModeOfCode(m_state.mode[0]);
    return rx <= 1 ? m_vfoMode[static_cast<std::size_t>(rx)] : fallback;
}

bool ConsoleBackend::NarrowOrWide(Mode mode) {
    return mode == Mode::Fm || mode == Mode::Am;
}

// The narrow filter's width is the smallest listed for the mode.
int ConsoleBackend::FilterValue(Mode mode, int passband) const {
    if (passband < 0)
        return -1;
    if (!NarrowOrWide(mode))
        return passband == 0 ? NormalWidth(mode) : passband;
    if (passband == 0)
        return 1;
    return passband <= FilterWidth(mode, 0) ? 0 : 1;
}

int ConsoleBackend::FilterWidth(Mode mode, long long value) const {
    if (!NarrowOrWide(mode))
        return static_cast<int>(value);
    if (value != 0)
        return NormalWidth(mode);
    int narrow = NormalWidth(mode);
    for (const auto& [modes, hz] : m_description.filters)
        if ((modes & zshare::ModeBit(mode)) && hz < narrow)
            narrow = hz;
    return narrow;
}

bool ConsoleBackend::Transmitting() {
    SettlePtt();
    if (const auto f = StoredIf(); f && f->transmitting)
        return true;
    return m_state.transmitting[0] != 0;
}

Result ConsoleBackend::SetMode(Vfo vfo, Mode mode, int passband) {
    if (const Result r = Check(); r != Result::Ok)
        return r;
    const int code = ModeCode(mode);
    // A width the radio cannot take is refused before the mode changes.
    if (code == 0 || passband > 9999)
        return Result::InvalidArgument;
    if (m_state.controlBand != 0)
        return Result::NotAvailable; // the mode command would go to the sub receiver
    CCorvan* link = Link();
    const int rx = ReceiveVfo();
    const int tx = TransmitVfo();
    const int which = vfo == Vfo::A ? 0 : vfo == Vfo::B ? 1 : vfo == Vfo::Memory ? 2 : rx;
    if (which == 2 && rx < 2)
        return Result::NotAvailable;
    auto md = [link]() -> std::optional<long long> {
        u32 v = 0;
        return link->RcvDataMD(&v) == 1 ? std::optional<long long>(v) : std::nullopt;
    };
    auto fw = [link]() -> std::optional<long long> {
        u32 v = 0;
        return link->RcvDataFW(&v) == 1 ? std::optional<long long>(v) : std::nullopt;
    };
    auto setMode = [&] {
        return SetAndConfirm([&] { return link->ConnMD("W", static_cast<u32>(code)) == 1; }, md, code,
                             [link] { link->ConnMD("R", 0); });
    };
    Result r = Result::Ok;
    if (which == rx || which == 2) {
        // A mode the radio already has is not sent again (a client sends
        // its mode with every width).
        if (md() != code) {
            r = setMode();
            if (r != Result::Ok)
                return r;
        }
        if (rx <= 1)
            m_vfoMode[static_cast<std::size_t>(rx)] = mode;
        // Passband 0 is the mode's normal width; below 0 keeps the width.
        const int width = FilterValue(mode, passband);
        if (width >= 0 && fw() != width)
            r = SetAndConfirm([&] { return link->ConnFW("W", static_cast<u32>(width)) == 1; }, fw, width,
                              [link] { link->ConnFW("R", 0); });
        return r;
    }
    // The other VFO. Its mode is set by receiving on it for a moment, which
    // would move a transmission: refused while transmitting.
    if (Transmitting())
        return Result::Rejected;
    // A and B share the band's filter: a width for the other VFO that is not
    // the filter's now would change the receive VFO's too (0 keeps it).
    if (passband > 0) {
        const auto now = Read(fw, [link] { link->ConnFW("R", 0); });
        if (!now)
            return Result::TimedOut;
        if (FilterWidth(ReceiveMode(rx, mode), *now) !=
            FilterWidth(mode, FilterValue(mode, passband)))
            return Result::Rejected;
    }
    // Receive on it, set the mode, and go back (the receive VFO command ends
    // split, so the transmit VFO is put back).
    r = SelectReceiveVfo(which);
    if (r == Result::Ok)
        r = setMode();
    const Result back = SelectReceiveVfo(rx);
    if (tx != rx && tx <= 1) {
        const Result split = SelectTransmitVfo(tx);
        if (r == Result::Ok)
            r = split;
    }
    if (r == Result::Ok)
        r = back;
    if (r == Result::Ok)
        m_vfoMode[static_cast<std::size_t>(which)] = mode;
    return r;
}

// ---------------------------------------------------------------- VFO and split

Result ConsoleBackend::GetVfo(Vfo& vfo) {
    vfo = Vfo::A;
    if (const Result r = Check(); r != Result::Ok)
        return r;
    const int rx = ReceiveVfo();
    vfo = rx == 0 ? Vfo::A : rx == 1 ? Vfo::B : Vfo::Memory;
    return Result::Ok;
}

// The radio answers FR with its FR and then an IF; FR also ends split and
// does not report MD or FT. Once the IF of the new receive VFO is in, the
// stored MD and FT are read again where they no longer hold (so that the
// next mode read, split read or FT confirmation is not taken from before
// the change, and the console shows the receive VFO's mode).
Result ConsoleBackend::SelectReceiveVfo(int vfo) {
    CCorvan* link = Link();
    auto fr = [link]() -> std::optional<long long> {
        u32 x = 0;
        return link->RcvDataFR(&x) == 1 ? std::optional<long long>(x) : std::nullopt;
    };
    const Result r = SetAndConfirm([&] { return link->ConnFR("W", static_cast<u32>(vfo)) == 1; }, fr, vfo,
                                   [link] { link->ConnFR("R", 0); });
    if (r != Result::Ok)
        return r;
    const bool seen = Await([this, vfo] {
        const auto f = StoredIf();
        return f && f->function == vfo;
    }, [link] { link->ConnIF(); });
    const auto f = StoredIf();
    if (!seen || !f || f->function != vfo)
        return Result::TimedOut;
    auto refresh = [&](Getter get, Setter set, int truth) {
        u32 x = 0;
        if ((link->*get)(&x) == 1 && static_cast<int>(x) == truth)
            return;
        (link->*set)("R", 0);
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_answerMs);
        while (std::chrono::steady_clock::now() < until) {
            if ((link->*get)(&x) == 1 && static_cast<int>(x) == truth)
                return;
            Sleep1();
        }
    };
    if (f->mode >= 1 && f->mode <= 9)
        refresh(&CCorvan::RcvDataMD, &CCorvan::ConnMD, f->mode);
    if (f->split == 0)
        refresh(&CCorvan::RcvDataFT, &CCorvan::ConnFT, vfo);
    return Result::Ok;
}

Result ConsoleBackend::SelectTransmitVfo(int vfo) {
    CCorvan* link = Link();
    return SetAndConfirm(
        [&] { return link->ConnFT("W", static_cast<u32>(vfo)) == 1; },
        [link]() -> std::optional<long long> {
            u32 x = 0;
            return link->RcvDataFT(&x) == 1 ? std::optional<long long>(x) : std::nullopt;
        },
        vfo, [link] { link->ConnFT("R", 0); });
}

bool ConsoleBackend::Await(const std::function<bool()>& done, const std::function<void()>& query) {
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_reportMs);
    while (std::chrono::steady_clock::now() < until) {
        if (done())
            return true;
        Sleep1();
    }
    query();
    until = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_answerMs);
    while (std::chrono::steady_clock::now() < until) {
        if (done())
            return true;
        Sleep1();
    }
    return done();
}

// The radio's FR ends split; a client that selects the receive VFO (as
// clients do on connecting, "V VFOB" then "V VFOA") must not. While split is
// on the transmit VFO is put back after the receive VFO has changed.
Result ConsoleBackend::SetVfo(Vfo vfo) {
    if (const Result r = Check(); r != Result::Ok)
        return r;
    if (vfo == Vfo::Current)
        return Result::Ok;
    if (m_state.controlBand != 0)
        return Result::NotAvailable;
    const int v = vfo == Vfo::A ? 0 : vfo == Vfo::B ? 1 : 2;
    const int rx = ReceiveVfo();
    const int tx = TransmitVfo();
    // Another receive VFO would move the transmission on the air (and FR
    // would end its split): refused, and nothing is written.
    if (rx != v && Transmitting())
        return Result::Rejected;
    int splitTx = -1;
    if (rx <= 1 && tx <= 1 && tx != rx)
        splitTx = tx;
    else if (m_keptSplitTx >= 0 && rx == m_keptSplitRx && tx == rx)
        splitTx = m_keptSplitTx; // still as the last selection left it
    m_keptSplitTx = m_keptSplitRx = -1;
    auto keep = [&](int receive) {
        m_keptSplitTx = splitTx;
        m_keptSplitRx = receive;
    };
    if (rx == v) {
        if (splitTx == v)
            keep(v);
        return Result::Ok;
    }
    const Result r = SelectReceiveVfo(v);
    if (r != Result::Ok || splitTx < 0 || v > 1)
        return r;
    if (v == splitTx) {
        // Receiving on the transmit VFO: the radio has no split now; the
        // next selection of the other VFO puts it back.
        keep(v);
        return Result::Ok;
    }
    return SelectTransmitVfo(splitTx);
}

Result ConsoleBackend::GetSplit(bool& on, Vfo& txVfo) {
    on = false;
    txVfo = Vfo::A;
    if (const Result r = Check(); r != Result::Ok)
        return r;
    const int rx = ReceiveVfo();
    const int tx = TransmitVfo();
    on = tx != rx;
    txVfo = tx == 0 ? Vfo::A : tx == 1 ? Vfo::B : Vfo::Memory;
    if (!on && m_keptSplitTx >= 0 && rx == m_keptSplitRx) {
        on = true; // kept across the client's VFO selection
        txVfo = m_keptSplitTx == 0 ? Vfo::A : Vfo::B;
    }
    return Result::Ok;
}

Result ConsoleBackend::SetSplit(bool on, Vfo txVfo) {
    if (const Result r = Check(); r != Result::Ok)
        return r;
    if (m_state.controlBand != 0)
        return Result::NotAvailable;
    m_keptSplitTx = m_keptSplitRx = -1;
    CCorvan* link = Link();
    const int rx = ReceiveVfo();
    int tx = rx;
    if (on) {
        if (rx > 1 || (txVfo != Vfo::A && txVfo != Vfo::B))
            return Result::NotAvailable;
        tx = txVfo == Vfo::A ? 0 : 1;
        if (tx == rx)
            return Result::InvalidArgument;
    }
    if (TransmitVfo() == tx)
        return Result::Ok;
    if (Transmitting())
        return Result::Rejected; // the transmission would move to the other VFO
    return SetAndConfirm(
        [&] { return link->ConnFT("W", static_cast<u32>(tx)) == 1; },
        [link]() -> std::optional<long long> {
            u32 x = 0;
            return link->RcvDataFT(&x) == 1 ? std::optional<long long>(x) : std::nullopt;
        },
        tx, [link] { link->ConnFT("R", 0); });
}

// ---------------------------------------------------------------- PTT

Result ConsoleBackend::GetPtt(bool& on) {
    on = false;
    if (const Result r = Check(); r != Result::Ok)
        return r;
    if (auto f = ReadIf()) {
        on = f->transmitting != 0;
        return Result::Ok;
    }
    on = m_state.transmitting[0] != 0;
    return Result::Ok;
}

void ConsoleBackend::SettlePtt() {
    if (m_pttAwaitingIf < 0)
        return;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_answerMs);
    while (std::chrono::steady_clock::now() < until) {
        const auto f = StoredIf();
        if (f && f->transmitting == m_pttAwaitingIf)
            break;
        Sleep1();
    }
    m_pttAwaitingIf = -1;
}

Result ConsoleBackend::SetPtt(bool on) {
    // Releasing is always tried, also on a radio that is not ready.
    if (const Result r = Check(on); r != Result::Ok)
        return r;
    CCorvan* link = Link();
    // The IF report that follows the last change made here goes through
    // before the next change: PTT switched back to back cannot run ahead of
    // what the line carries (a TX or RX report still queued for an earlier
    // change would confirm the next one).
    SettlePtt();
    // The radio answers TX and RX with their own report (cleared by the
    // builder before it writes), well before the IF that follows.
    const Result r = SetAndConfirm([&] { return (on ? link->ConnTX() : link->ConnRX()) == 1; },
                         [this, link, on]() -> std::optional<long long> {
                             u32 x = 0;
                             if ((on ? link->RcvDataTX(&x) : link->RcvDataRX(&x)) == 1)
                                 return on ? 1 : 0;
                             if (auto f = StoredIf())
                                 return f->transmitting;
                             return std::nullopt;
                         },
                         on ? 1 : 0, [link] { link->ConnIF(); });
    if (r == Result::Ok)
        m_pttAwaitingIf = on ? 1 : 0;
    return r;
}

// ---------------------------------------------------------------- RIT and XIT

Result ConsoleBackend::GetRit(int& hz) {
    hz = 0;
    if (const Result r = Check(); r != Result::Ok)
        return r;
    const auto f = ReadIf();
    if (!f)
        return Result::TimedOut;
    hz = f->rit ? f->offset : 0;
    return Result::Ok;
}

Result ConsoleBackend::GetXit(int& hz) {
    hz = 0;
    if (const Result r = Check(); r != Result::Ok)
        return r;
    const auto f = ReadIf();
    if (!f)
        return Result::TimedOut;
    hz = f->xit ? f->offset : 0;
    return Result::Ok;
}

Result ConsoleBackend::SetRit(int hz) { return SetOffset(hz, false); }
Result ConsoleBackend::SetXit(int hz) { return SetOffset(hz, true); }

// RIT and XIT share one offset on this radio: setting one moves the other's.
Result ConsoleBackend::SetOffset(int hz, bool xit) {
    if (const Result r = Check(); r != Result::Ok)
        return r;
    if (std::abs(hz) > (xit ? m_description.maxXit : m_description.maxRit))
        return Result::InvalidArgument;
    if (m_state.scanRunning[0] || m_state.scanRunning[1])
        return Result::Rejected; // the offset keys change the scan speed while scanning
    CCorvan* link = Link();
    auto offset = [this]() -> std::optional<long long> {
        if (auto f = StoredIf())
            return f->offset;
        return std::nullopt;
    };
    auto queryIf = [link] { link->ConnIF(); };
    const auto now = ReadIf();
    Result r = Result::Ok;
    if (!now || now->offset != hz) {
        if (!now || now->offset != 0)
            r = SetAndConfirm([&] { return link->ConnRC() == 1; }, offset, 0, queryIf);
        if (r == Result::Ok && hz != 0)
            r = SetAndConfirm(
                [&] { return (hz > 0 ? link->ConnRU("W", static_cast<u32>(hz)) : link->ConnRD("W", static_cast<u32>(-hz))) == 1; },
                offset, hz, queryIf);
    }
    if (r != Result::Ok)
        return r;
    const int wanted = hz != 0 ? 1 : 0;
    const auto f = StoredIf();
    if (f && (xit ? f->xit : f->rit) == wanted)
        return Result::Ok;
    auto flag = [this, xit]() -> std::optional<long long> {
        if (auto g = StoredIf())
            return xit ? g->xit : g->rit;
        return std::nullopt;
    };
    return SetAndConfirm([&] { return (xit ? link->ConnXT("W", static_cast<u32>(wanted)) : link->ConnRT("W", static_cast<u32>(wanted))) == 1; },
                         flag, wanted, queryIf);
}

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
        v = Read(
            [link]() -> std::optional<long long> {
                u32 in = 0, out = 0;
                return link->RcvDataPL(&in, &out) == 1 ? std::optional<long long>(in) : std::nullopt;
            },
            [link] { link->ConnPL("R", 0, 0); });
        if (v)
            value = static_cast<double>(*v) / 100.0;
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
        v = fresh([link](u32* x) { return link->RcvDataPC(x); }, [link] { link->ConnPC("R", 0); });
        if (v)
            value = static_cast<double>(*v) / 100.0;
        break;
    case Level::Af:
        v = fresh([link](u32* x) { return link->RcvDataAG(0, x); }, [link] { link->ConnAG("R", 0, 0); });
        if (v)
            value = static_cast<double>(*v) / 255.0;
        break;
    case Level::Rf:
        v = fresh([link](u32* x) { return link->RcvDataRG(x); }, [link] { link->ConnRG("R", 0); });
        if (v)
            value = static_cast<double>(*v) / 255.0;
        break;
    case Level::Squelch:
        v = fresh([link](u32* x) { return link->RcvDataSQ(0, x); }, [link] { link->ConnSQ("R", 0, 0); });
        if (v)
            value = static_cast<double>(*v) / 255.0;
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
    switch (level) {
    case Level::RfPower: {
        // This radio sets 1..100 %.
        const auto pc = static_cast<u32>(std::clamp<long>(std::lround(value * 100.0), 1, 100));
        return SetAndConfirm([&] { return link->ConnPC("W", pc) == 1; },
                             stored([link](u32* x) { return link->RcvDataPC(x); }), pc,
                             [link] { link->ConnPC("R", 0); });
    }
    case Level::Af: {
        const auto g = static_cast<u32>(std::lround(value * 255.0));
        return SetAndConfirm([&] { return link->ConnAG("W", 0, g) == 1; },
                             stored([link](u32* x) { return link->RcvDataAG(0, x); }), g,
                             [link] { link->ConnAG("R", 0, 0); });
    }
    case Level::Rf: {
        const auto g = static_cast<u32>(std::lround(value * 255.0));
        return SetAndConfirm([&] { return link->ConnRG("W", g) == 1; },
                             stored([link](u32* x) { return link->RcvDataRG(x); }), g,
                             [link] { link->ConnRG("R", 0); });
    }
    case Level::Squelch: {
        const auto g = static_cast<u32>(std::lround(value * 255.0));
        return SetAndConfirm([&] { return link->ConnSQ("W", 0, g) == 1; },
                             stored([link](u32* x) { return link->RcvDataSQ(0, x); }), g,
                             [link] { link->ConnSQ("R", 0, 0); });
    }
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

// ---------------------------------------------------------------- power

Result ConsoleBackend::GetPowerOn(bool& on) {
    on = false;
    if (const Result r = Check(false); r != Result::Ok)
        return r;
    CCorvan* link = Link();
    const auto v = Read(
        [link]() -> std::optional<long long> {
            u32 x = 0;
            return link->RcvDataPS(&x) == 1 ? std::optional<long long>(x) : std::nullopt;
        },
        [link] { link->ConnPS("R", 0); });
    if (!v)
        return Result::TimedOut;
    on = *v != 0;
    return Result::Ok;
}

Result ConsoleBackend::SetPowerOn(bool on) {
    if (const Result r = Check(false); r != Result::Ok)
        return r;
    CCorvan* link = Link();
    const u32 v = on ? 1 : 0;
    return SetAndConfirm([&] { return link->ConnPS("W", v) == 1; },
                         [link]() -> std::optional<long long> {
                             u32 x = 0;
                             if (link->RcvDataPS(&x) != 1)
                                 return std::nullopt;
                             return x != 0 ? 1 : 0;
                         },
                         v, [link] { link->ConnPS("R", 0); });
}

// ---------------------------------------------------------------- one code at a time

Result ConsoleBackend::ReadCode(Getter get, Setter set, long long& value) {
    value = 0;
    CCorvan* link = Link();
    const auto v = Read(
        [link, get]() -> std::optional<long long> {
            u32 x = 0;
            return (link->*get)(&x) == 1 ? std::optional<long long>(x) : std::nullopt;
        },
        [link, set] { (link->*set)("R", 0); });
    if (!v)
        return Result::TimedOut;
    value = *v;
    return Result::Ok;
}

Result ConsoleBackend::WriteCode(Setter set, Getter get, u32 value) {
    CCorvan* link = Link();
    return SetAndConfirm([&] { return (link->*set)("W", value) == 1; },
                         [link, get]() -> std::optional<long long> {
                             u32 x = 0;
                             return (link->*get)(&x) == 1 ? std::optional<long long>(x) : std::nullopt;
                         },
                         value, [link, set] { (link->*set)("R", 0); });
}

Result ConsoleBackend::WriteAndAwaitChange(const std::function<bool()>& write, const Stored& stored,
                                           const std::function<void()>& query) {
    const auto before = stored();
    if (!write())
        return Result::Rejected;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_reportMs);
    while (std::chrono::steady_clock::now() < until) {
        const auto now = stored();
        if (now && now != before)
            return Result::Ok;
        Sleep1();
    }
    // No report: the radio's answer says where it is now.
    return Read(stored, query) ? Result::Ok : Result::TimedOut;
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

// ---------------------------------------------------------------- VFO operations

Result ConsoleBackend::DoVfoOp(zshare::VfoOp op) {
    if (const Result r = Check(); r != Result::Ok)
        return r;
    if (m_state.controlBand != 0)
        return Result::NotAvailable;
    CCorvan* link = Link();
    const int rx = ReceiveVfo();
    const int tx = TransmitVfo();
    switch (op) {
    case zshare::VfoOp::Up:
    case zshare::VfoOp::Down:
    case zshare::VfoOp::BandUp:
    case zshare::VfoOp::BandDown: {
        const bool band = op == zshare::VfoOp::BandUp || op == zshare::VfoOp::BandDown;
        if (band && rx > 1)
            return Result::NotAvailable; // the radio changes bands on a VFO only
        // The dial steps a VFO's frequency or a memory channel.
        auto where = [this, link, rx]() -> std::optional<long long> {
            if (rx <= 1)
                return StoredFrequency(rx);
            u32 bank = 0, channel = 0;
            return link->RcvDataMC(&bank, &channel) == 1 ? std::optional<long long>(bank * 100 + channel)
                                                         : std::nullopt;
        };
        auto query = [link, rx] {
            if (rx == 0)
                link->ConnFA("R", "");
            else if (rx == 1)
                link->ConnFB("R", "");
            else
                link->ConnMC("R", 0, 0);
        };
        auto write = [link, op] {
            switch (op) {
            case zshare::VfoOp::Up: return link->ConnUP(1) == 1;
            case zshare::VfoOp::Down: return link->ConnDN(1) == 1;
            case zshare::VfoOp::BandUp: return link->ConnBU() == 1;
            default: return link->ConnBD() == 1;
            }
        };
        return WriteAndAwaitChange(write, where, query);
    }
    case zshare::VfoOp::Copy: {
        // A = B: the receive VFO's frequency and mode go to the other VFO.
        if (rx > 1 || tx > 1)
            return Result::NotAvailable;
        // In split the other VFO is the one on the air.
        if (tx != rx && Transmitting())
            return Result::Rejected;
        const Vfo from = rx == 0 ? Vfo::A : Vfo::B;
        const Vfo to = rx == 0 ? Vfo::B : Vfo::A;
        std::int64_t hz = 0;
        Mode mode = Mode::Unknown;
        int passband = 0;
        if (const Result r = GetFrequency(from, hz); r != Result::Ok)
            return r;
        if (const Result r = GetMode(from, mode, passband); r != Result::Ok)
            return r;
        if (const Result r = SetFrequency(to, hz); r != Result::Ok)
            return r;
        return SetMode(to, mode, -1);
    }
    case zshare::VfoOp::Exchange: {
        // A / B: the other VFO receives; with split, it transmits on the former one.
        if (rx > 1 || tx > 1)
            return Result::NotAvailable;
        if (Transmitting())
            return Result::Rejected; // it moves the transmission to the other VFO
        const int other = 1 - rx;
        m_keptSplitTx = m_keptSplitRx = -1;
        const Result r = SelectReceiveVfo(other);
        if (r != Result::Ok || tx == rx)
            return r;
        return SelectTransmitVfo(rx);
    }
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
    else if (v == count + 1)
        tenths = kToneBurst;
    return Result::Ok;
}

// Tone 0 switches the repeater tone off (the tone number stays).
Result ConsoleBackend::SetCtcssTone(int tenths) {
    if (const Result r = Check(); r != Result::Ok)
        return r;
    if (tenths == 0)
        return SetFunc(zshare::Func::Tone, false);
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

// ---------------------------------------------------------------- memory channel

Result ConsoleBackend::GetMemory(int& channel) {
    channel = 0;
    if (const Result r = Check(); r != Result::Ok)
        return r;
    CCorvan* link = Link();
    const auto v = Read(
        [link]() -> std::optional<long long> {
            u32 bank = 0, number = 0;
            return link->RcvDataMC(&bank, &number) == 1 ? std::optional<long long>(bank * 100 + number)
                                                        : std::nullopt;
        },
        [link] { link->ConnMC("R", 0, 0); });
    if (!v)
        return Result::TimedOut;
    channel = static_cast<int>(*v);
    return Result::Ok;
}

Result ConsoleBackend::SetMemory(int channel) {
    if (const Result r = Check(); r != Result::Ok)
        return r;
    if (channel < 0 || channel > m_description.maxMemory)
        return Result::InvalidArgument;
    if (m_state.controlBand != 0)
        return Result::NotAvailable;
    if (Transmitting())
        return Result::Rejected; // another channel would move the transmission
    CCorvan* link = Link();
    const auto bank = static_cast<u32>(channel / 100), number = static_cast<u32>(channel % 100);
    return SetAndConfirm([&] { return link->ConnMC("W", bank, number) == 1; },
                         [link]() -> std::optional<long long> {
                             u32 b = 0, n = 0;
                             return link->RcvDataMC(&b, &n) == 1 ? std::optional<long long>(b * 100 + n)
                                                                 : std::nullopt;
                         },
                         channel, [link] { link->ConnMC("R", 0, 0); });
}

} // namespace zephyra
