// SPDX-License-Identifier: GPL-3.0-or-later
// One channel at a time through the link: MR read queries answered into the
// reply store, MW writes of both halves.
#include "memory_channels.h"

#include <corvan.h>

#include <cinttypes>
#include <cstdio>
#include <thread>

namespace memory_channels {

namespace {

struct Half {
    std::int64_t frequency = 0;
    std::uint32_t mode = 0, lockout = 0, toneType = 0, toneNumber = 0, ctcss = 0, dcs = 0, reverse = 0,
                  shift = 0, offset = 0, step = 0, group = 0;
    std::string name;
};

// Sends MR for one half and waits for the answer of that very channel (an
// MR reply of another channel, asked for by someone else, is not taken).
LinkResult ReadHalf(CCorvan& link, int half, int number, Half& out, LinkTimes times) {
    const auto bank = static_cast<std::uint32_t>(BankOf(number));
    const auto slot = static_cast<std::uint32_t>(SlotOf(number));
    if (!CCorvan::IsOpen()) {
        return LinkResult::LinkClosed;
    }
    if (link.ConnMR(static_cast<std::uint32_t>(half), bank, slot) != 1) {
        return CCorvan::IsOpen() ? LinkResult::Refused : LinkResult::LinkClosed;
    }
    const auto deadline = std::chrono::steady_clock::now() + times.reply;
    char frequency[corvan::kFrequencyTextSize] = {};
    char name[corvan::kNameTextSize] = {};
    std::uint32_t gotBank = 0, gotSlot = 0;
    while (true) {
        if (link.RcvDataMR(static_cast<std::uint32_t>(half), &gotBank, &gotSlot, frequency, &out.mode,
                           &out.lockout, &out.toneType, &out.toneNumber, &out.ctcss, &out.dcs, &out.reverse,
                           &out.shift, &out.offset, &out.step, &out.group, name) == 1 &&
            gotSlot == slot && (gotBank == bank || CCorvan::GetModelType() == corvan::kModelQX410)) {
            break;
        }
        if (!CCorvan::IsOpen()) {
            return LinkResult::LinkClosed;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return LinkResult::NoReply;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    out.frequency = 0;
    for (const char* p = frequency; *p >= '0' && *p <= '9'; ++p) {
        out.frequency = out.frequency * 10 + (*p - '0');
    }
    out.name = name;
    return LinkResult::Ok;
}

} // namespace

LinkResult ReadChannel(CCorvan& link, int number, Channel& out, LinkTimes times) {
    Half rx;
    if (const LinkResult result = ReadHalf(link, 0, number, rx, times); result != LinkResult::Ok) {
        return result;
    }
    Channel c;
    c.number = number;
    if (rx.frequency != 0) {
        c.rxFrequency = rx.frequency;
        c.rxMode = static_cast<int>(rx.mode);
        c.rxStep = static_cast<int>(rx.step);
        c.lockout = static_cast<int>(rx.lockout);
        c.toneType = static_cast<int>(rx.toneType);
        c.toneNumber = static_cast<int>(rx.toneNumber);
        c.ctcssNumber = static_cast<int>(rx.ctcss);
        c.dcsCode = static_cast<int>(rx.dcs);
        c.reverse = static_cast<int>(rx.reverse);
        c.shift = static_cast<int>(rx.shift);
        c.offset = rx.offset;
        c.group = static_cast<int>(rx.group);
        c.name = rx.name;
        c.txMode = c.rxMode;
        c.txStep = c.rxStep;
        Half tx;
        if (const LinkResult result = ReadHalf(link, 1, number, tx, times); result != LinkResult::Ok) {
            return result;
        }
        if (tx.frequency != 0 && (tx.frequency != rx.frequency || tx.mode != rx.mode)) {
            c.txFrequency = tx.frequency;
            c.txMode = static_cast<int>(tx.mode);
            c.txStep = static_cast<int>(tx.step);
        }
    }
    out = c;
    return LinkResult::Ok;
}

LinkResult WriteChannel(CCorvan& link, const Channel& c, bool hadTransmitHalf) {
    if (!CCorvan::IsOpen()) {
        return LinkResult::LinkClosed;
    }
    const auto bank = static_cast<std::uint32_t>(BankOf(c.number));
    const auto slot = static_cast<std::uint32_t>(SlotOf(c.number));
    const auto u = [](auto value) { return static_cast<std::uint32_t>(value); };
    // The smaller family's MW takes tone numbers from 1 only.
    const int toneNumber = c.toneNumber == 0 && CCorvan::GetModelType() == corvan::kModelQX410 ? 1 : c.toneNumber;
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
        // the smaller family takes no 0), no name.
        const std::uint32_t noTone = CCorvan::GetModelType() == corvan::kModelQX410 ? 1 : 0;
        ok = link.ConnMW(0, bank, slot, text, 0, 0, 0, noTone, 0, 0, 0, 0, 0, 0, 0, "");
    } else {
        ok = write(0, c.rxFrequency, c.rxMode, c.rxStep);
        if (ok == 1 && c.txFrequency != 0) {
            ok = write(1, c.txFrequency, c.txMode, c.txStep);
        } else if (ok == 1 && hadTransmitHalf) {
            // No transmit half any more: it repeats the receive half.
            ok = write(1, c.rxFrequency, c.rxMode, c.rxStep);
        }
    }
    if (ok == 1) {
        return LinkResult::Ok;
    }
    return CCorvan::IsOpen() ? LinkResult::Refused : LinkResult::LinkClosed;
}

} // namespace memory_channels
