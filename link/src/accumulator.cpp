// SPDX-License-Identifier: GPL-3.0-or-later
// Joining received text into replies.
#include "accumulator.h"

#include "decoder.h"

#include <cstring>

namespace corvan::detail {

void Accumulator::Reset(std::int64_t nowSeconds)
{
    m_length = 0;
    m_discarding = false;
    m_last = nowSeconds;
}

void Accumulator::Keep(const char* data, std::size_t length)
{
    if (m_discarding)
        return;
    if (m_length + length > kAccumulatorMax) {
        m_length = 0;
        m_discarding = true;
        return;
    }
    std::memcpy(m_text + m_length, data, length);
    m_length += length;
}

Accumulator::Result Accumulator::Feed(const char* data, std::size_t length, std::int64_t nowSeconds,
                                      Block& block)
{
    if (nowSeconds > m_last + 1) {
        m_length = 0;
        m_discarding = false;
    }
    m_last = nowSeconds;

    if (block.directMode.load() != 0) {
        if (m_length > 0)
            DirectDataIO(m_text, m_length, block);
        DirectDataIO(data, length, block);
        m_length = 0;
        m_discarding = false;
        return Result::Direct;
    }

    const void* lastSemi = nullptr;
    for (std::size_t i = length; i-- > 0;) {
        if (data[i] == ';') {
            lastSemi = data + i;
            break;
        }
    }
    if (lastSemi == nullptr) {
        Keep(data, length);
        return Result::Idle;
    }
    const std::size_t upTo = static_cast<std::size_t>(static_cast<const char*>(lastSemi) - data) + 1;
    const auto* first = static_cast<const char*>(std::memchr(data, ';', upTo));
    std::size_t from = 0;
    if (m_discarding) {
        // The overlong piece ends at the first ";": drop it.
        from = static_cast<std::size_t>(first - data) + 1;
        m_discarding = false;
    } else if (m_length > 0) {
        // Complete the kept fragment with the text up to the first ";".
        const std::size_t head = static_cast<std::size_t>(first - data) + 1;
        if (m_length + head <= kAccumulatorMax) {
            std::memcpy(m_text + m_length, data, head);
            ConstituteData(m_text, m_length + head, block);
        }
        // Longer than the accumulator: a piece far over kPieceMax, dropped.
        from = head;
    }
    m_length = 0;
    if (from < upTo)
        ConstituteData(data + from, upTo - from, block);
    Keep(data + upTo, length - upTo);
    return Result::Decoded;
}

} // namespace corvan::detail
