// SPDX-License-Identifier: GPL-3.0-or-later
// The reply decoder: framing into pieces, the character check, field
// conversion into the reply store, and the direct (terminal) path.
#pragma once

#include "block.h"

#include <cstddef>
#include <cstdint>

namespace corvan::detail {

// A digit field as the radio writes it. The radio blanks leading zeros (the
// memory bank of a channel number on bank 0, the first TC field), so a blank
// reads as 0; any other byte is its distance from "0" (a letter gives more
// than 9, punctuation below "0" a negative value).
constexpr int DigitOf(char c)
{
    return c == ' ' ? 0 : static_cast<int>(static_cast<unsigned char>(c)) - '0';
}

// A decimal number as the radio's fields hold it: leading blanks (blanked
// zeros, also between a sign and the first digit), an optional sign, digits
// up to the first other character or `n`. Clamped to the signed 32-bit range
// and returned as its 32-bit pattern.
std::uint32_t ParseNumber(const char* p, std::size_t n);

// The character check of one piece (caller holds b.mu).
bool CommandCheck(const char* piece, std::size_t len, const Block& b);

// Decodes every piece of `text` that ends with ";" (text after the last ";"
// is not looked at): stores what the table accepts and notifies each piece.
// Embedded zero bytes are ordinary (rejected) characters.
void ConstituteData(const char* text, std::size_t len, Block& b);

// Appends received text to the direct text (keeping the newest kDirectMax
// bytes; zero bytes are dropped) and posts the direct-text notification
// once until RcvDataDirect.
void DirectDataIO(const char* text, std::size_t len, Block& b);

// Posts the notification of one accepted piece; 0 when no target is
// registered, 1 otherwise.
std::int32_t WinMsgSend(const char* piece, std::size_t len, Block& b);

// Model type from an identity number: 15 gives 2, 17 or 18 gives 1, 19
// gives 3, anything else 0.
std::uint32_t ModelFromIdentity(std::uint32_t identity);

char* HexToBinary(char* hex, char* out);

} // namespace corvan::detail
