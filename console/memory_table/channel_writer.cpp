// SPDX-License-Identifier: GPL-3.0-or-later
// The channel writer: the only code that turns a channel record into MW.
// A fresh read, the comparison with what the operator was shown, the
// operator's change on top of the fresh read, both halves, the read-back.
#include "memory_channels.h"

#include <corvan.h>

#include <cinttypes>
#include <cstdio>

namespace memory_channels {

namespace {

// A channel as a read of it comes back: a transmit half equal to the
// receive half (frequency and mode) is none.
Channel AsRead(const Channel& channel) {
    Channel c = channel;
    if (c.txFrequency == c.rxFrequency && c.txMode == c.rxMode) {
        c.txFrequency = 0;
    }
    return Normalised(c);
}

Channel WithoutTransmitHalf(Channel c) {
    c.txFrequency = 0;
    c.txMode = c.rxMode;
    c.txStep = c.rxStep;
    return c;
}

// MW for both halves of `c`. `hadTransmitHalf`: the radio may hold a
// transmit half now, which a channel without one must not keep.
LinkResult SendChannel(CCorvan& link, const Channel& c, bool hadTransmitHalf, const WriteOptions& options) {
    if (!CCorvan::IsOpen()) {
        return LinkResult::LinkClosed;
    }
    const auto bank = static_cast<std::uint32_t>(BankOf(c.number));
    const auto slot = static_cast<std::uint32_t>(SlotOf(c.number));
    const auto u = [](auto value) { return static_cast<std::uint32_t>(value); };
    // The smaller family's MW takes tone numbers from 1 only.
    const int toneNumber = c.toneNumber == 0 && SmallerFamily() ? 1 : c.toneNumber;
    char text[24];
    const auto write = [&](std::uint32_t half, std::int64_t hz, int mode, int step) {
        std::snprintf(text, sizeof text, "%011" PRId64, hz);
        return link.ConnMW(half, bank, slot, text, u(mode), u(c.lockout), u(c.toneType), u(toneNumber),
                           u(c.ctcssNumber), u(c.dcsCode), u(c.reverse), u(c.shift), u(c.offset), u(step),
                           u(c.group), c.name.c_str());
    };
    std::int32_t ok = 0;
    if (c.empty()) {
        std::snprintf(text, sizeof text, "%011d", 0);
        // A cleared channel: zero frequency, zero fields (the first tone where
        // the smaller family takes no 0), no name. The radio drops both halves.
        const std::uint32_t noTone = SmallerFamily() ? 1 : 0;
        ok = link.ConnMW(0, bank, slot, text, 0, 0, 0, noTone, 0, 0, 0, 0, 0, 0, 0, "");
    } else {
        ok = write(0, c.rxFrequency, c.rxMode, c.rxStep);
        const bool second = c.txFrequency != 0 || hadTransmitHalf;
        if (ok == 1 && second && options.betweenHalves) {
            options.betweenHalves();
        }
        if (ok == 1 && c.txFrequency != 0) {
            ok = write(1, c.txFrequency, c.txMode, c.txStep);
        } else if (ok == 1 && hadTransmitHalf) {
            // No transmit half any more: MW 1 with frequency 0 drops the one
            // the radio may keep. A copy of the receive half would stay
            // behind as a transmit half of its own once anything stores the
            // receive half alone.
            ok = write(1, 0, c.rxMode, c.rxStep);
        }
    }
    if (ok == 1) {
        return LinkResult::Ok;
    }
    return CCorvan::IsOpen() ? LinkResult::Refused : LinkResult::LinkClosed;
}

} // namespace

bool SmallerFamily() {
    return CCorvan::GetModelType() == corvan::kModelQX410;
}

bool HoldsWhatWasShown(const Channel& now, const Channel& shown, Seen seen) {
    Channel a = AsRead(now);
    Channel b = AsRead(shown);
    b.number = a.number;
    if (seen == Seen::ReceiveHalf) {
        a = WithoutTransmitHalf(a);
        b = WithoutTransmitHalf(b);
    }
    return a == b;
}

Channel ApplyChange(const Channel& shownIn, const Channel& wantedIn, const Channel& nowIn) {
    const Channel shown = Normalised(shownIn);
    const Channel wanted = Normalised(wantedIn);
    const Channel now = Normalised(nowIn);
    if (wanted.empty() || shown.empty() || now.empty()) {
        Channel whole = wanted;
        whole.number = now.number;
        return whole;
    }
    Channel c = now;
    const auto take = [](auto& into, const auto& from, const auto& was) {
        if (from != was) {
            into = from;
        }
    };
    take(c.rxFrequency, wanted.rxFrequency, shown.rxFrequency);
    take(c.rxMode, wanted.rxMode, shown.rxMode);
    take(c.rxStep, wanted.rxStep, shown.rxStep);
    // The transmit half goes as one: its frequency, mode and step belong together.
    if (wanted.txFrequency != shown.txFrequency || wanted.txMode != shown.txMode ||
        wanted.txStep != shown.txStep) {
        c.txFrequency = wanted.txFrequency;
        c.txMode = wanted.txMode;
        c.txStep = wanted.txStep;
    }
    take(c.toneType, wanted.toneType, shown.toneType);
    take(c.toneNumber, wanted.toneNumber, shown.toneNumber);
    take(c.ctcssNumber, wanted.ctcssNumber, shown.ctcssNumber);
    take(c.dcsCode, wanted.dcsCode, shown.dcsCode);
    take(c.reverse, wanted.reverse, shown.reverse);
    take(c.shift, wanted.shift, shown.shift);
    take(c.offset, wanted.offset, shown.offset);
    take(c.group, wanted.group, shown.group);
    take(c.lockout, wanted.lockout, shown.lockout);
    take(c.name, wanted.name, shown.name);
    return Normalised(c);
}

Channel AsSmallerFamilyWrites(Channel wanted, const Channel& heldIn) {
    if (wanted.empty()) {
        return wanted;
    }
    // An empty channel of this family reads back every field its MW does
    // not carry as 0.
    Channel held = heldIn;
    if (held.empty()) {
        held.ctcssNumber = held.dcsCode = held.reverse = held.shift = held.group = 0;
        held.offset = 0;
        held.rxStep = held.txStep = 0;
        held.name.clear();
    }
    wanted.ctcssNumber = held.ctcssNumber;
    wanted.dcsCode = held.dcsCode;
    wanted.reverse = held.reverse;
    wanted.shift = held.shift;
    wanted.offset = held.offset;
    wanted.group = held.group;
    wanted.name = held.name;
    wanted.rxStep = held.rxStep;
    wanted.txStep = held.txStep;
    if (wanted.toneNumber == 0) {
        wanted.toneNumber = 1;
    }
    return Normalised(wanted);
}

WriteResult WriteChange(CCorvan& link, const Channel& shown, Seen seen, const Channel& wanted,
                        const WriteOptions& options) {
    WriteResult result;
    const int number = wanted.number;
    const auto failed = [&result](LinkResult outcome) {
        result.status = outcome == LinkResult::LinkClosed ? WriteStatus::LinkClosed : WriteStatus::NotRead;
        return result;
    };
    // 1. What the radio holds now.
    bool transmitHeld = false;
    if (const LinkResult read = ReadChannel(link, number, result.before, options.times, &transmitHeld);
        read != LinkResult::Ok) {
        return failed(read);
    }
    result.before = Normalised(result.before);
    // 2. Only over what the operator saw.
    if (!HoldsWhatWasShown(result.before, shown, seen)) {
        result.status = WriteStatus::Changed;
        return result;
    }
    // 3. The change on top of it, both halves.
    Channel sent = ApplyChange(shown, wanted, result.before);
    sent.number = number;
    if (SmallerFamily()) {
        sent = AsSmallerFamilyWrites(sent, result.before);
    }
    result.sent = sent;
    // A transmit half the radio may keep, even one equal to the receive
    // half, is rewritten or dropped: MW of the receive half alone would
    // leave it behind.
    const LinkResult write = SendChannel(link, sent, transmitHeld || result.before.txFrequency != 0, options);
    if (write == LinkResult::LinkClosed) {
        result.status = WriteStatus::LinkClosed;
        return result;
    }
    if (write != LinkResult::Ok) {
        result.status = WriteStatus::Refused;
        // The receive half may have gone out before the transmit half was
        // refused: what the radio holds now is told by a read.
        if (ReadChannel(link, number, result.after, options.times) == LinkResult::Ok) {
            result.after = Normalised(result.after);
            result.readBack = true;
        }
        return result;
    }
    // 4. Only what the read-back shows counts as written.
    const LinkResult back = ReadChannel(link, number, result.after, options.times);
    if (back == LinkResult::LinkClosed) {
        result.status = WriteStatus::LinkClosed;
        return result;
    }
    result.after = Normalised(result.after);
    result.readBack = back == LinkResult::Ok;
    result.status = back == LinkResult::Ok && AsRead(result.after) == AsRead(sent) ? WriteStatus::Written
                                                                                   : WriteStatus::NotConfirmed;
    return result;
}

std::string DescribeChannel(const Channel& c) {
    if (c.empty()) {
        return "(empty)";
    }
    static const char* const kToneTypes[] = {"OFF", "TONE", "CTCSS", "DCS"};
    static const char* const kShifts[] = {"OFF", "+", "-", "="};
    const auto mode = [](int code) {
        const std::string name = ModeName(code);
        return name.empty() ? "mode " + std::to_string(code) : name;
    };
    std::string text = FormatMegahertz(c.rxFrequency) + " " + mode(c.rxMode);
    text += c.txFrequency != 0 ? " / TX " + FormatMegahertz(c.txFrequency) + " " + mode(c.txMode) : " / TX none";
    text += std::string(", tone ") + kToneTypes[c.toneType >= 0 && c.toneType <= 3 ? c.toneType : 0];
    text += std::string(", shift ") + kShifts[c.shift >= 0 && c.shift <= 3 ? c.shift : 0];
    text += ", group " + std::to_string(c.group);
    text += c.lockout ? ", L.OUT" : "";
    text += ", \"" + c.name + "\"";
    return text;
}

} // namespace memory_channels
