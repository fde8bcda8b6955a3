// SPDX-License-Identifier: GPL-3.0-or-later
// The table of stored replies: for every reply code and model type, which
// record takes the reply and which fields are converted into which slots.
#pragma once

#include "block.h"

#include <cstdint>
#include <span>

namespace corvan::detail {

// Model-type masks: bit n stands for model type n.
inline constexpr std::uint8_t M0 = 1, M1 = 2, M2 = 4, M3 = 8;
inline constexpr std::uint8_t M123 = M1 | M2 | M3, M13 = M1 | M3, M23 = M2 | M3, M12 = M1 | M2;
inline constexpr std::uint8_t MAll = M0 | M1 | M2 | M3;

constexpr bool HasModel(std::uint8_t mask, std::uint32_t model)
{
    return model < 8 && (mask & (1u << model)) != 0;
}

enum class Kind : std::uint8_t {
    Digit,     // the character at pos as a digit (DigitOf: a blank is 0)
    NumAt,     // width characters from pos as a decimal number
    NumFrom,   // pos to the end of the piece as a decimal number
    TextAt,    // width characters from pos into text slot `slot` (size bytes)
    TextFrom,  // pos to the end of the piece into text slot `slot`
    Char,      // the byte at pos
    Zero,      // the value 0
    DigitPair, // digit at pos times 10 plus digit at pos + 1, both read by DigitOf
    HexBits,   // the two hexadecimal characters at pos as eight bits, bit 0 first
};

struct Field {
    Kind kind;
    std::uint8_t pos;
    std::uint8_t width;
    std::uint8_t slot; // numeric slot, or text slot for the text kinds
    std::uint8_t size; // text field size (bytes, with the terminator)
};

enum class Special : std::uint8_t { None, Identity, DirectFromEx, DirectFromTc };

struct Rule {
    char code[3];
    std::uint8_t models;
    Rec record;
    std::int8_t indexPos;     // -1: one record; else the digit here selects the record
    std::uint8_t indexCount;  // records addressed by the index digit
    std::uint8_t exactLength; // 0: any length
    Special special;
    std::span<const Field> fields;
};

// Every rule, grouped by code in table order.
std::span<const Rule> ReplyRules();
// The rule for the code of `piece` under `model`, or null (not stored).
const Rule* FindRule(const char* piece, std::uint32_t model);
// True when some rule exists for the code of `piece` (any model type).
bool IsStoredCode(const char* piece);

} // namespace corvan::detail
