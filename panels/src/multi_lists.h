// SPDX-License-Identifier: GPL-3.0-or-later
// multi_lists.h - what the multi-function panel's seventeen lists hold: their
// entry texts, how a reported value picks an entry, what a chosen entry
// writes, and the transmit-power limits by version type, band class, mode
// and the fine power-step setting. No widgets and no link here.
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

namespace pandor {

// The lists, named by the command they write (PL has two: input and output).
enum class MultiList : int {
    VG, VD, PLOut, PLIn, RL, AL, TN, CN, NL, QC, OF, MG, PC, KS, ML, CG, SD, Count
};
inline constexpr std::size_t kMultiListCount = static_cast<std::size_t>(MultiList::Count);

struct MultiListSpec {
    MultiList list;
    int id;             // the list's control id
    const char* frame;  // the caption of the frame around it
    const char* unit;   // the unit label beside it ("" for none)
    bool identity19;    // usable only on a radio of identity 19
};

// In the order of the enumeration.
const std::array<MultiListSpec, kMultiListCount>& MultiListSpecs();
const MultiListSpec& SpecOf(MultiList list);

// ------------------------------------------------------------ entry texts

QString NumberEntry(int value);              // " %8d "
QString OffsetEntry(std::int64_t hertz);     // ten characters, "." every three digits
QStringList CtcssEntries();                  // the 38 tones
QStringList ToneEntries();                   // the 38 tones and 1750.0
QStringList DcsEntries();                    // the 104 codes
inline constexpr int kOffsetEntryCount = 1200;
inline constexpr std::uint32_t kOffsetStep = 50'000;

// The entries of every list but the power list and the noise-reduction
// level list (those depend on the radio's state: see below).
QStringList FixedEntries(MultiList list);

// The noise-reduction level list for a noise-reduction state.
struct NoiseReductionList {
    QStringList entries;
    QString unit;
    bool forceFirst = false; // state 0: the single entry is selected
};
// Nothing for a state other than 0, 1 and 2 (the list stays as it is).
std::optional<NoiseReductionList> NoiseReductionEntries(std::uint32_t state);

// --------------------------------------------------------- reply and write

// The entry a reported value selects, or -1 when it lies outside the list
// of `count` entries. Not for the power list (PowerIndexOf).
int IndexOfReply(MultiList list, std::uint32_t value, int count);
// The value a chosen entry writes. Not for the power list (PowerValueOf)
// nor the speech-processor pair (each list writes its own index).
std::uint32_t ValueOfIndex(MultiList list, int index);

// ------------------------------------------------------------ power list

inline constexpr std::uint32_t kModeAm = 5;

// Band class 0..5 of a band number of the band lookup.
int BandClass(std::uint32_t band, std::uint32_t versionType);

struct PowerInputs {
    std::uint32_t versionType = 0;
    int bandClass = 0;
    std::uint32_t mode = 0;
    bool fineStep = false;
    bool flagA = false; // version type 10 only
    bool flagB = false;
};

struct PowerLimits {
    int maximum = 0;
    int minimum = 0;
    int step = 1;
    bool operator==(const PowerLimits&) const = default;
};

int PowerMaximum(const PowerInputs& in);
int PowerMinimum(const PowerInputs& in);
int PowerStep(const PowerInputs& in);
PowerLimits ComputePowerLimits(const PowerInputs& in);

// The entries i x step for i from minimum / step to maximum / step; 3 W on
// the 1.2 GHz band in AM shows as 2.5 and 13 W on 430 MHz in AM as 12.5.
QStringList PowerEntries(const PowerLimits& limits, int bandClass, std::uint32_t mode);
// The entry a reported power selects (v / step - minimum / step), or -1 when
// it is outside the list of `count` entries.
int PowerIndexOf(std::uint32_t watts, const PowerLimits& limits, int count);
// What the entry writes (index x step + minimum); nothing when the value
// would lie outside minimum..maximum.
std::optional<std::uint32_t> PowerValueOf(int index, const PowerLimits& limits);

} // namespace pandor
