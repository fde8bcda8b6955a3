// SPDX-License-Identifier: GPL-3.0-or-later
// The table of notification numbers, shared by the notifier and the tools.
#pragma once

#include <cstdint>
#include <span>

namespace corvan::detail {

struct MessageEntry {
    char code[3];
    std::uint32_t message;
};

std::span<const MessageEntry> MessageTable();
// The entry whose code equals the first two characters of `piece`.
const MessageEntry* FindMessage(const char* piece);

} // namespace corvan::detail
