// SPDX-License-Identifier: GPL-3.0-or-later
// backend_frequency.cpp - the sharing backend's receive and transmit
// frequencies: which VFO receives and which transmits, split, RIT and XIT,
// and the VFO operations (step, band, A = B, A / B).
#include "backend_support.h"

#include <corvan.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace zephyra {

using zshare::Mode;
using zshare::Result;
using zshare::Vfo;
using namespace backend;

namespace {

std::string FrequencyText(std::int64_t hz) {
    char text[24];
    std::snprintf(text, sizeof text, "%011lld", static_cast<long long>(hz));
    return text;
}

} // namespace

// A record a read query has just cleared (the console asks too) is waited
// for, not taken from the console's state, which follows later.
int ConsoleBackend::ReceiveVfo() {
    if (m_state.controlBand == 0 && Link())
        if (const auto v = ReadVfoNumber(&CCorvan::RcvDataFR, &CCorvan::ConnFR))
            return static_cast<int>(*v);
    return m_state.mainVfo <= 3 ? m_state.mainVfo : 0;
}

int ConsoleBackend::TransmitVfo() {
    if (Link())
        if (const auto v = ReadVfoNumber(&CCorvan::RcvDataFT, &CCorvan::ConnFT))
            return static_cast<int>(*v);
    return m_state.mainTransmitVfo <= 3 ? m_state.mainTransmitVfo : ReceiveVfo();
}

std::optional<long long> ConsoleBackend::ReadVfoNumber(Getter get, Setter set) {
    CCorvan* link = Link();
    return Read(
        [link, get]() -> std::optional<long long> {
            u32 x = 0;
            return (link->*get)(&x) == 1 && x <= 3 ? std::optional<long long>(x) : std::nullopt;
        },
        [link, set] { (link->*set)("R", 0); });
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
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(AnswerWaitMs());
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
    return SelectTransmitVfo(tx);
}

// ---------------------------------------------------------------- RIT and XIT

Result ConsoleBackend::GetRit(int& hz) { return GetOffset(hz, false); }
Result ConsoleBackend::GetXit(int& hz) { return GetOffset(hz, true); }

// The one offset while RIT (or XIT) is on, else 0.
Result ConsoleBackend::GetOffset(int& hz, bool xit) {
    hz = 0;
    if (const Result r = Check(); r != Result::Ok)
        return r;
    const auto f = ReadIf();
    if (!f)
        return Result::TimedOut;
    hz = (xit ? f->xit : f->rit) ? f->offset : 0;
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

} // namespace zephyra
