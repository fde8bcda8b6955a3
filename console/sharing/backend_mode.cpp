// SPDX-License-Identifier: GPL-3.0-or-later
// backend_mode.cpp - the sharing backend's modes and widths: the radio's
// mode codes, the mode of either VFO, and the filter a client's passband
// picks.
#include "backend_support.h"

#include <corvan.h>

namespace zephyra {

using zshare::Mode;
using zshare::Result;
using zshare::Vfo;
using namespace backend;

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
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(AnswerWaitMs());
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

} // namespace zephyra
