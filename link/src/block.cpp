// SPDX-License-Identifier: GPL-3.0-or-later
// The link state block.
#include "block.h"

#include <cstring>

namespace corvan::detail {

Block::Block() { Clear(); }

void Block::Clear()
{
    std::scoped_lock lock(targetMu, mu);
    target = nullptr;
    rec.fill(Record{});
    pending.fill(0);
    direct.fill('\0');
    directLen = 0;
    directMode.store(0);
    directBusy.store(0);
    rec[static_cast<std::size_t>(Rec::UL)].valid = 1;
}

Record Block::Get(Rec r) const
{
    std::lock_guard lock(mu);
    return rec[static_cast<std::size_t>(r)];
}

void Block::Reset(Rec r)
{
    std::lock_guard lock(mu);
    rec[static_cast<std::size_t>(r)] = Record{};
}

void Block::SetValue(Rec r, std::size_t slot, std::uint32_t value)
{
    std::lock_guard lock(mu);
    Record& x = rec[static_cast<std::size_t>(r)];
    x.num[slot] = value;
    x.valid = 1;
}

void Block::ClearPending(Pending p)
{
    std::lock_guard lock(mu);
    pending[static_cast<std::size_t>(p)] = 0;
}

bool Block::IsPending(Pending p) const
{
    std::lock_guard lock(mu);
    return pending[static_cast<std::size_t>(p)] != 0;
}

void Block::TakeDirect(char* out)
{
    directBusy.store(1);
    {
        std::lock_guard lock(mu);
        std::memcpy(out, direct.data(), directLen);
        out[directLen] = '\0';
        direct.fill('\0');
        directLen = 0;
        pending[static_cast<std::size_t>(Pending::Direct)] = 0;
    }
    directBusy.store(0);
}

std::size_t Block::DirectLength() const
{
    std::lock_guard lock(mu);
    return directLen;
}

void Block::SetTarget(CorvanTarget* t)
{
    std::lock_guard lock(targetMu);
    target = t;
}

Block& Global()
{
    static Block block;
    return block;
}

} // namespace corvan::detail
