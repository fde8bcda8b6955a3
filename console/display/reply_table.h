// SPDX-License-Identifier: GPL-3.0-or-later
// reply_table.h - the console's handling of the link's notifications.
#pragma once

#include <cstdint>

class ConsoleDisplay;

// True when the console has a row for the notification `message`.
bool HasReplyRow(unsigned message);
// Runs the row of `message`: accessor, display operation, exports. False
// for a notification the console ignores.
bool HandleReply(ConsoleDisplay& display, unsigned message, std::uintptr_t wParam);
