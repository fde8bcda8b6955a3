// ConsoleBackend.cpp - what a sharing client gets and sets, over the
// console's link and state.
#include "RadioSharing.h"

#include <corvan.h>

#include <chrono>
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
    d.filters = {{0x0c, 2400}, {0x0c, 1800}, {0x0c, 2700}, {0x82, 500},  {0x82, 250}, {0x82, 2400},
                 {0x110, 500}, {0x110, 1000}, {0x01, 6000}, {0x01, 2400}, {0x20, 6000}};
    d.maxRit = 99'999;
    d.maxXit = 99'999;
    d.maxIfShift = 0;
    d.maxPowerWatts = 100;
    d.bandwidths = {250, 500, 1000, 1800, 2400, 2700, 6000};
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

int ConsoleBackend::ReceiveVfo() {
    CCorvan* link = Link();
    u32 v = 0;
    if (m_state.controlBand == 0 && link && link->RcvDataFR(&v) == 1 && v <= 3)
        return static_cast<int>(v);
    return m_state.mainVfo <= 3 ? m_state.mainVfo : 0;
}

int ConsoleBackend::TransmitVfo() {
    CCorvan* link = Link();
    u32 v = 0;
    if (link && link->RcvDataFT(&v) == 1 && v <= 3)
        return static_cast<int>(v);
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
    return ParseFrequency(text);
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
    const auto v = Read([this, which] { return StoredFrequency(which); },
                        [this, which] { which == 1 ? Link()->ConnFB("R", "") : Link()->ConnFA("R", ""); });
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
    if (!code)
        return Result::TimedOut;
    const Mode current = ModeOfCode(static_cast<int>(*code));
    if (rx <= 1)
        m_vfoMode[static_cast<std::size_t>(rx)] = current;
    mode = current;
    passband = width ? static_cast<int>(*width) : 0;
    // The radio reports the receive VFO's mode only: the other VFO's is the
    // one last seen or set on it.
    const int which = vfo == Vfo::A ? 0 : vfo == Vfo::B ? 1 : rx;
    if (which <= 1 && which != rx && m_vfoMode[static_cast<std::size_t>(which)] != Mode::Unknown)
        mode = m_vfoMode[static_cast<std::size_t>(which)];
    return Result::Ok;
}

Result ConsoleBackend::SetMode(Vfo vfo, Mode mode, int passband) {
    if (const Result r = Check(); r != Result::Ok)
        return r;
    const int code = ModeCode(mode);
    if (code == 0)
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
    auto fr = [link]() -> std::optional<long long> {
        u32 v = 0;
        return link->RcvDataFR(&v) == 1 ? std::optional<long long>(v) : std::nullopt;
    };
    auto ft = [link]() -> std::optional<long long> {
        u32 v = 0;
        return link->RcvDataFT(&v) == 1 ? std::optional<long long>(v) : std::nullopt;
    };
    auto setMode = [&] {
        return SetAndConfirm([&] { return link->ConnMD("W", static_cast<u32>(code)) == 1; }, md, code,
                             [link] { link->ConnMD("R", 0); });
    };
    Result r = Result::Ok;
    if (which == rx || which == 2) {
        r = setMode();
    } else {
        // The other VFO: receive on it, set the mode, and go back (the
        // receive VFO command ends split, so the transmit VFO is restored).
        r = SetAndConfirm([&] { return link->ConnFR("W", static_cast<u32>(which)) == 1; }, fr, which,
                          [link] { link->ConnFR("R", 0); });
        if (r == Result::Ok)
            r = setMode();
        const Result back = SetAndConfirm([&] { return link->ConnFR("W", static_cast<u32>(rx)) == 1; }, fr, rx,
                                          [link] { link->ConnFR("R", 0); });
        if (tx != rx && tx <= 1)
            SetAndConfirm([&] { return link->ConnFT("W", static_cast<u32>(tx)) == 1; }, ft, tx,
                          [link] { link->ConnFT("R", 0); });
        if (r == Result::Ok)
            r = back;
    }
    if (r != Result::Ok)
        return r;
    if (which <= 1)
        m_vfoMode[static_cast<std::size_t>(which)] = mode;
    if (passband > 0 && which == rx) {
        if (passband > 9999)
            return Result::InvalidArgument;
        auto fw = [link]() -> std::optional<long long> {
            u32 v = 0;
            return link->RcvDataFW(&v) == 1 ? std::optional<long long>(v) : std::nullopt;
        };
        r = SetAndConfirm([&] { return link->ConnFW("W", static_cast<u32>(passband)) == 1; }, fw, passband,
                          [link] { link->ConnFW("R", 0); });
    }
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

Result ConsoleBackend::SetVfo(Vfo vfo) {
    if (const Result r = Check(); r != Result::Ok)
        return r;
    if (vfo == Vfo::Current)
        return Result::Ok;
    if (m_state.controlBand != 0)
        return Result::NotAvailable;
    CCorvan* link = Link();
    const int v = vfo == Vfo::A ? 0 : vfo == Vfo::B ? 1 : 2;
    if (ReceiveVfo() == v)
        return Result::Ok;
    return SetAndConfirm(
        [&] { return link->ConnFR("W", static_cast<u32>(v)) == 1; },
        [link]() -> std::optional<long long> {
            u32 x = 0;
            return link->RcvDataFR(&x) == 1 ? std::optional<long long>(x) : std::nullopt;
        },
        v, [link] { link->ConnFR("R", 0); });
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
    return Result::Ok;
}

Result ConsoleBackend::SetSplit(bool on, Vfo txVfo) {
    if (const Result r = Check(); r != Result::Ok)
        return r;
    if (m_state.controlBand != 0)
        return Result::NotAvailable;
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

Result ConsoleBackend::SetPtt(bool on) {
    // Releasing is always tried, also on a radio that is not ready.
    if (const Result r = Check(on); r != Result::Ok)
        return r;
    CCorvan* link = Link();
    return SetAndConfirm([&] { return (on ? link->ConnTX() : link->ConnRX()) == 1; },
                         [this]() -> std::optional<long long> {
                             if (auto f = StoredIf())
                                 return f->transmitting;
                             return std::nullopt;
                         },
                         on ? 1 : 0, [link] { link->ConnIF(); });
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
    switch (level) {
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
        value = level == Level::Strength ? StrengthDb(meter) : static_cast<double>(meter) / kMeterTop;
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
    if (!(value >= 0.0 && value <= 1.0))
        return Result::InvalidArgument;
    CCorvan* link = Link();
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
    case Level::Strength:
    case Level::PowerMeter:
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

} // namespace zephyra
