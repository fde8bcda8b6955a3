// SPDX-License-Identifier: GPL-3.0-or-later
// Shared pieces of the reply accessors.
#pragma once

#include "block.h"
#include "rules.h"

#include <cstdint>
#include <initializer_list>

namespace corvan::detail {

// Copies the record when the connected model type is one of `models` and the
// record is valid; false otherwise.
bool Fetch(Rec record, std::uint8_t models, Record& out);

// Sets every given out-parameter to 0 (null ones are skipped).
void ZeroAll(std::initializer_list<std::uint32_t*> outs);
inline void Put(std::uint32_t* out, std::uint32_t v)
{
    if (out != nullptr)
        *out = v;
}
// Copies text slot `slot` of `x` into `out`, at most size - 1 characters.
void CopyText(char* out, const Record& x, std::size_t slot, std::size_t size);
inline void EmptyText(char* out)
{
    if (out != nullptr)
        out[0] = '\0';
}

// The accessors of one stored value.
std::int32_t OneValue(Rec record, std::uint8_t models, std::uint32_t* v);
// Copies slots 0..n-1 into the given out-parameters.
std::int32_t Values(Rec record, std::uint8_t models, std::initializer_list<std::uint32_t*> outs);

} // namespace corvan::detail
