// SPDX-License-Identifier: GPL-3.0-or-later
// backend_memory.cpp - the sharing backend's memory channels: which one the
// radio is on, and recalling another.
#include "backend_support.h"

#include <corvan.h>

namespace zephyra {

using zshare::Result;
using namespace backend;

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
