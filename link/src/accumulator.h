// SPDX-License-Identifier: GPL-3.0-or-later
// Joins received text into replies: what ends with ";" goes to the decoder,
// the rest waits for the next read; in direct mode everything goes to the
// direct text.
#pragma once

#include "block.h"

#include <cstddef>
#include <cstdint>

namespace corvan::detail {

// Overflow rule: the accumulator holds at most kAccumulatorMax bytes of
// unterminated text. Text that would grow past that can only end in a piece
// longer than kPieceMax, which the decoder discards anyway; so the
// accumulator is emptied and everything up to and including the next ";" is
// dropped (resynchronisation). Replies after that ";" are decoded normally.
class Accumulator {
public:
    enum class Result { Idle, Decoded, Direct };

    // Feeds one read taken at `nowSeconds`. When more than one second has
    // passed since the previous read (now > last + 1), the unterminated
    // fragment is stale and dropped first. Direct means the caller pauses
    // before its next read.
    Result Feed(const char* data, std::size_t length, std::int64_t nowSeconds, Block& block);

    std::size_t Pending() const { return m_length; }
    bool Discarding() const { return m_discarding; }
    void Reset(std::int64_t nowSeconds);

private:
    void Keep(const char* data, std::size_t length);

    char m_text[kAccumulatorMax + 1] = {};
    std::size_t m_length = 0;
    bool m_discarding = false;
    std::int64_t m_last = 0;
};

} // namespace corvan::detail
