// SPDX-License-Identifier: GPL-3.0-or-later
// console_backend.cpp - the sharing backend's ground: this radio's
// description, whether a request may run, and the waits every get and set
// goes through (the store, a read query, the radio's own report), and the
// radio's power switch.
#include "backend_support.h"

#include <corvan.h>
#include <platform.h>

#include <functional>
#include <iterator>

namespace zephyra {

using zshare::Level;
using zshare::Result;
using namespace backend;

namespace {

constexpr std::int64_t MHz = 1'000'000;
constexpr std::uint32_t kAllModes = 0x1bf;
constexpr std::uint32_t kVfos = 0x3;     // A and B
constexpr std::uint32_t kAntennas = 0x3; // ANT 1 and 2

} // namespace

int ConsoleBackend::ReportWaitMs() const { return m_reportMs + platform::ReplyAllowanceMs(); }

int ConsoleBackend::AnswerWaitMs() const { return m_answerMs + platform::ReplyAllowanceMs(); }

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
    d.toneBurst = kToneBurstTenths;
    d.dcsCodes.assign(std::begin(kDcsCodes), std::end(kDcsCodes));
    d.keyerLimit = kKeyerCharacters;
    d.maxMemory = 299;
    d.maxRepeaterOffset = 59'950'000;
    return d;
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
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(AnswerWaitMs());
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
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ReportWaitMs());
    while (std::chrono::steady_clock::now() < until) {
        if (stored() == expected)
            return Result::Ok;
        Sleep1();
    }
    // No report: ask.
    query();
    until = std::chrono::steady_clock::now() + std::chrono::milliseconds(AnswerWaitMs());
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

bool ConsoleBackend::Await(const std::function<bool()>& done, const std::function<void()>& query) {
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ReportWaitMs());
    while (std::chrono::steady_clock::now() < until) {
        if (done())
            return true;
        Sleep1();
    }
    query();
    until = std::chrono::steady_clock::now() + std::chrono::milliseconds(AnswerWaitMs());
    while (std::chrono::steady_clock::now() < until) {
        if (done())
            return true;
        Sleep1();
    }
    return done();
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
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ReportWaitMs());
    while (std::chrono::steady_clock::now() < until) {
        const auto now = stored();
        if (now && now != before)
            return Result::Ok;
        Sleep1();
    }
    // No report: the radio's answer says where it is now.
    return Read(stored, query) ? Result::Ok : Result::TimedOut;
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

} // namespace zephyra
