// SPDX-License-Identifier: GPL-3.0-or-later
// The link state block: the reply store, the notify-pending flags, the direct
// text, the direct-mode flag and the notification target. One process-wide
// instance serves every CCorvan object; the decoder tests, the fuzzer and the
// benchmark make blocks of their own.
#pragma once

#include <corvan.h>

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

namespace corvan::detail {

// One record per reply code (two for AG, AR, MR, SQ; four for SM).
enum class Rec : std::uint8_t {
    AC, AG0, AG1, AI, AL, AM, AN, AR0, AR1, AS, BC, BP, BY, CA, CG, CM, CN, CT, DC, DQ, EX,
    FA, FB, FC, FD, FR, FS, FT, FW, GT, ID, IF, IS, KS, KY, LK, LM, LT, MC, MD, MF, MG, ML,
    MO, MR0, MR1, MU, NB, NL, NR, NT, OF, OI, OS, PA, PB, PC, PK, PL, PM, PR, PS, QC, QR,
    RA, RD, RG, RL, RM, RT, RU, RX, SA, SB, SC, SD, SH, SL, SM0, SM1, SM2, SM3, SQ0, SQ1,
    SS, ST, SU, TC, TI, TN, TO, TS, TX, TY, UL, VD, VG, VX, XT,
    Count
};

inline constexpr std::size_t kRecordCount = static_cast<std::size_t>(Rec::Count);
inline constexpr std::size_t kNumSlots = 16;
inline constexpr std::size_t kTextSlots = 4;
inline constexpr std::size_t kTextSlotSize = 40;

// Record `base` plus `index` (AG0 + 1 is AG1).
constexpr Rec Offset(Rec base, std::uint32_t index)
{
    return static_cast<Rec>(static_cast<std::uint8_t>(base) + index);
}

struct Record {
    std::uint32_t valid = 0;
    std::array<std::uint32_t, kNumSlots> num{};
    std::array<std::array<char, kTextSlotSize>, kTextSlots> text{};
};

enum class Pending : std::uint8_t { FA, FB, FC, RM, SM0, SM1, SM2, SM3, Direct, Count };

inline constexpr std::size_t kPieceMax = 255;        // longest reply between two ";"
inline constexpr std::size_t kAccumulatorMax = 1023; // unterminated text kept by the read thread
inline constexpr std::size_t kDirectMax = 1023;      // direct text kept for RcvDataDirect

class Block {
public:
    Block();

    // Empties every record, the direct text and the pending flags, leaves
    // direct mode, forgets the notification target, then makes the UL record
    // valid with value 0. The model type survives.
    void Clear();

    // Copy of one record (consistent: taken under the lock).
    Record Get(Rec r) const;
    // Sets the record not valid and zeroes its fields.
    void Reset(Rec r);
    // Overwrites one numeric slot and marks the record valid (tests, Close).
    void SetValue(Rec r, std::size_t slot, std::uint32_t value);

    // Clears a pending flag (the accessors do this on every call).
    void ClearPending(Pending p);
    bool IsPending(Pending p) const;

    // Copies the direct text out, empties it and clears its pending flag.
    void TakeDirect(char* out);
    std::size_t DirectLength() const;

    // Notification target.
    void SetTarget(CorvanTarget* target);

    std::atomic<std::uint32_t> modelType{0};
    std::atomic<std::uint32_t> directMode{0};
    std::atomic<std::uint32_t> directBusy{0};

    // Guards the records, pending flags and direct text; held only for a
    // copy or one decoded piece.
    mutable std::mutex mu;
    std::array<Record, kRecordCount> rec{};
    std::array<std::uint32_t, static_cast<std::size_t>(Pending::Count)> pending{};
    std::array<char, kDirectMax + 1> direct{};
    std::size_t directLen = 0;

    // Guards the target; held while a notification is posted, so that after
    // SetTarget returns the previous target receives nothing more.
    std::mutex targetMu;
    CorvanTarget* target = nullptr;
};

// The process-wide block of the link.
Block& Global();

} // namespace corvan::detail
