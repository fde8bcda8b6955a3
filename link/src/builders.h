// SPDX-License-Identifier: GPL-3.0-or-later
// Shared pieces of the command builders.
#pragma once

#include "block.h"
#include "rules.h"

#include <cstdint>

namespace corvan::detail {

// True for exactly "R": the read form.
bool IsRead(const char* mode);
std::uint32_t Model();

// Formats one command and writes it (1) or returns 0 when it does not fit.
std::int32_t Send(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The read form: clears the record, then writes `text`.
std::int32_t Query(Rec record, const char* text);
// The pause between a set command and its read-back.
void ReadBackPause();

// A frequency text: optional spaces, optional sign, digits, optional
// spaces. False for anything else (also null and empty) or outside
// 0..99 999 999 999.
bool ParseFrequency(const char* text, std::int64_t& hertz);
// True when `text` holds ";", which would end the command on the wire early.
bool BreaksFraming(const char* text);
// Length of `text`, or a large number for null.
std::size_t TextLength(const char* text);

// Accepted values of a set form for some model types.
struct Limit {
    std::uint8_t models;
    std::uint32_t lo;
    std::uint32_t hi;
};

// The builders of one value: set "XX%0Nu;", read "XX;".
struct ValueCommand {
    char code[3];
    Rec record;
    std::uint8_t readModels;
    Limit limits[3];
    const char* format;
    std::uint8_t readBackModels;
};

std::int32_t ValueBuilder(const ValueCommand& c, const char* mode, std::uint32_t v);

// The limit that applies to `model` (null: the set form is refused).
const Limit* LimitFor(const Limit* limits, std::size_t count, std::uint32_t model);

} // namespace corvan::detail
