// SPDX-License-Identifier: GPL-3.0-or-later
// One channel at a time through the link: MR read queries answered into the
// reply store. (Writes go through the writer, channel_writer.cpp.)
#include "memory_channels.h"

#include <corvan.h>

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
        // A write that fails on a device gone closes the link at once.
        if (times.closedForGoneDevice && times.closedForGoneDevice()) {
            return LinkResult::LinkClosed;
        }
        return CCorvan::IsOpen() ? LinkResult::Refused : LinkResult::LinkClosed;
    }
    const auto deadline = std::chrono::steady_clock::now() + times.reply;
    char frequency[corvan::kFrequencyTextSize] = {};
    char name[corvan::kNameTextSize] = {};
    std::uint32_t gotBank = 0, gotSlot = 0;
    constexpr auto kDeviceLook = std::chrono::milliseconds(20);
    auto nextLook = std::chrono::steady_clock::now() + kDeviceLook;
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
        const auto now = std::chrono::steady_clock::now();
        if (times.closedForGoneDevice && now >= nextLook) {
            nextLook = now + kDeviceLook;
            if (times.closedForGoneDevice()) {
                return LinkResult::LinkClosed;
            }
        }
        if (now >= deadline) {
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

LinkResult ReadChannel(CCorvan& link, int number, Channel& out, LinkTimes times, bool* transmitAnswered) {
    if (transmitAnswered != nullptr) {
        *transmitAnswered = false;
    }
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
        if (transmitAnswered != nullptr) {
            *transmitAnswered = tx.frequency != 0;
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

} // namespace memory_channels
