// SPDX-License-Identifier: GPL-3.0-or-later
// Notifications: one posted message per decoded piece.
#include "block.h"
#include "decoder.h"
#include "messages.h"

#include <corvan.h>

namespace corvan::detail {

namespace {

// Read like the decoder's digit fields (a blank is 0), so that a reply is
// notified for the record it was stored in. Past the end of the piece the
// zeroed piece buffer holds a zero byte.
int DigitAt(const char* piece, std::size_t len, std::size_t pos)
{
    return DigitOf(pos < len ? piece[pos] : '\0');
}

// Test-and-set of a pending flag; true when the message may be posted.
bool Arm(Block& b, Pending p)
{
    std::lock_guard lock(b.mu);
    auto& flag = b.pending[static_cast<std::size_t>(p)];
    if (flag != 0)
        return false;
    flag = 1;
    return true;
}

} // namespace

std::int32_t WinMsgSend(const char* piece, std::size_t len, Block& b)
{
    std::lock_guard targetLock(b.targetMu);
    if (b.target == nullptr)
        return 0;
    const MessageEntry* entry = FindMessage(piece);
    if (entry == nullptr)
        return 1;
    const std::uint32_t model = b.modelType.load();
    const int digit = DigitAt(piece, len, 2);
    const bool index01 = digit == 0 || digit == 1;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    const char c0 = piece[0];
    const char c1 = piece[1];
    auto is = [&](const char* code) { return c0 == code[0] && c1 == code[1]; };

    if (is("AG") || is("SQ")) {
        if (model == 1)
            wParam = 0;
        else if (model == 3 && index01)
            wParam = static_cast<std::uintptr_t>(digit);
        else
            return 1;
    } else if (is("AR") || is("MR")) {
        if (!index01)
            return 1;
        wParam = static_cast<std::uintptr_t>(digit);
    } else if (is("BY")) {
        if (!index01)
            return 1;
        wParam = static_cast<std::uintptr_t>(digit);
        lParam = DigitAt(piece, len, 3);
    } else if (is("FA") || is("FB") || is("FC") || is("RM")) {
        const Pending p = is("FA") ? Pending::FA : is("FB") ? Pending::FB : is("FC") ? Pending::FC : Pending::RM;
        if (!Arm(b, p))
            return 1;
    } else if (is("SM")) {
        if (model == 1) {
            wParam = 0;
        } else if (model == 3 && digit >= 0 && digit <= 3) {
            if (!Arm(b, static_cast<Pending>(static_cast<int>(Pending::SM0) + digit)))
                return 1;
            wParam = static_cast<std::uintptr_t>(digit);
        } else {
            return 1;
        }
    }
    b.target->post(entry->message, wParam, lParam);
    return 1;
}

} // namespace corvan::detail
