// SPDX-License-Identifier: GPL-3.0-or-later
// Shared pieces of the reply accessors.
#include "accessors.h"

#include <cstring>

namespace corvan::detail {

bool Fetch(Rec record, std::uint8_t models, Record& out)
{
    if (!HasModel(models, Global().modelType.load()))
        return false;
    out = Global().Get(record);
    return out.valid == 1;
}

void ZeroAll(std::initializer_list<std::uint32_t*> outs)
{
    for (std::uint32_t* p : outs)
        Put(p, 0);
}

void CopyText(char* out, const Record& x, std::size_t slot, std::size_t size)
{
    if (out == nullptr)
        return;
    const auto& t = x.text[slot];
    const std::size_t n = strnlen(t.data(), size - 1);
    std::memcpy(out, t.data(), n);
    out[n] = '\0';
}

std::int32_t OneValue(Rec record, std::uint8_t models, std::uint32_t* v)
{
    Put(v, 0);
    Record x;
    if (!Fetch(record, models, x))
        return 0;
    Put(v, x.num[0]);
    return 1;
}

std::int32_t Values(Rec record, std::uint8_t models, std::initializer_list<std::uint32_t*> outs)
{
    ZeroAll(outs);
    Record x;
    if (!Fetch(record, models, x))
        return 0;
    std::size_t i = 0;
    for (std::uint32_t* p : outs)
        Put(p, x.num[i++]);
    return 1;
}

} // namespace corvan::detail
