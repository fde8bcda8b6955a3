// SPDX-License-Identifier: GPL-3.0-or-later
// The multi-function panel's lists as data: the entry texts, which entry a
// reported value selects, what an entry writes, and the transmit-power
// limits by version type, band class, mode and power step.
#include "multi_lists.h"

#include <gtest/gtest.h>

#include <string>

namespace pandor::test {
namespace {

std::string S(const QString& text) {
    return text.toStdString();
}

// ------------------------------------------------------------ entry texts

TEST(MultiEntries, NumbersAreTenCharactersRightAligned) {
    EXPECT_EQ(S(NumberEntry(0)), "        0 ");
    EXPECT_EQ(S(NumberEntry(150)), "      150 ");
    EXPECT_EQ(S(NumberEntry(3000)), "     3000 ");
}

TEST(MultiEntries, CtcssTonesInOrderWithOneDecimal) {
    const QStringList tones = CtcssEntries();
    ASSERT_EQ(tones.size(), 38);
    const std::pair<int, const char*> samples[] = {
        {0, "     67.0 "}, {1, "     71.9 "}, {10, "     97.4 "}, {11, "    100.0 "},
        {17, "    123.0 "}, {30, "    192.8 "}, {31, "    203.5 "}, {37, "    250.3 "},
    };
    for (const auto& [index, text] : samples) {
        EXPECT_EQ(S(tones[index]), text) << index;
    }
    double previous = 0;
    for (const QString& tone : tones) {
        EXPECT_EQ(tone.size(), 10);
        EXPECT_GT(tone.trimmed().toDouble(), previous) << S(tone);
        previous = tone.trimmed().toDouble();
    }
}

TEST(MultiEntries, ToneListIsTheCtcssSetAndTheCallTone) {
    const QStringList tones = ToneEntries();
    ASSERT_EQ(tones.size(), 39);
    EXPECT_EQ(tones.mid(0, 38), CtcssEntries());
    EXPECT_EQ(S(tones[38]), "   1750.0 ");
}

TEST(MultiEntries, DcsCodesAscendingAsThreeOctalDigitsInSeven) {
    const QStringList codes = DcsEntries();
    ASSERT_EQ(codes.size(), 104);
    const std::pair<int, const char*> samples[] = {
        {0, "    023"}, {1, "    025"}, {15, "    074"}, {16, "    114"}, {33, "    205"},
        {63, "    371"}, {64, "    411"}, {86, "    565"}, {87, "    606"}, {103, "    754"},
    };
    for (const auto& [index, text] : samples) {
        EXPECT_EQ(S(codes[index]), text) << index;
    }
    int previous = -1;
    for (const QString& code : codes) {
        ASSERT_EQ(code.size(), 7);
        bool octal = false;
        const int value = code.trimmed().toInt(&octal, 8);
        ASSERT_TRUE(octal) << S(code);
        EXPECT_GT(value, previous) << S(code);
        previous = value;
    }
}

struct OffsetCase {
    std::int64_t hertz;
    const char* text;
};

class OffsetEntries : public ::testing::TestWithParam<OffsetCase> {};

TEST_P(OffsetEntries, DotsBetweenGroupsAndBlanksBeforeTheFirstDigit) {
    EXPECT_EQ(S(OffsetEntry(GetParam().hertz)), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Hertz, OffsetEntries,
                         ::testing::Values(OffsetCase{0, "         0"}, OffsetCase{50'000, "    50.000"},
                                           OffsetCase{950'000, "   950.000"},
                                           OffsetCase{1'000'000, " 1.000.000"},
                                           OffsetCase{10'050'000, "10.050.000"},
                                           OffsetCase{59'950'000, "59.950.000"}));

TEST(MultiEntries, OffsetListRunsToAlmostSixtyMegahertz) {
    const QStringList offsets = FixedEntries(MultiList::OF);
    ASSERT_EQ(offsets.size(), 1200);
    EXPECT_EQ(S(offsets[1]), "    50.000");
    EXPECT_EQ(S(offsets[20]), " 1.000.000");
    EXPECT_EQ(S(offsets[1199]), "59.950.000");
}

struct FixedList {
    const char* name;
    MultiList list;
    int count;
    const char* first;
    const char* second;
    const char* last;
};

class FixedLists : public ::testing::TestWithParam<FixedList> {};

TEST_P(FixedLists, CountFirstAndLastEntries) {
    const FixedList& p = GetParam();
    const QStringList entries = FixedEntries(p.list);
    ASSERT_EQ(entries.size(), p.count);
    EXPECT_EQ(S(entries.first()), p.first);
    EXPECT_EQ(S(entries[1]), p.second);
    EXPECT_EQ(S(entries.last()), p.last);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, FixedLists,
    ::testing::Values(FixedList{"VoxGain", MultiList::VG, 10, "        0 ", "        1 ", "        9 "},
                      FixedList{"VoxDelay", MultiList::VD, 21, "        0 ", "      150 ", "     3000 "},
                      FixedList{"ProcOut", MultiList::PLOut, 101, "        0 ", "        1 ", "      100 "},
                      FixedList{"ProcIn", MultiList::PLIn, 101, "        0 ", "        1 ", "      100 "},
                      FixedList{"Notch", MultiList::AL, 5, "      FIX ", "        1 ", "        4 "},
                      FixedList{"NoiseBlanker", MultiList::NL, 10, "        1 ", "        2 ", "       10 "},
                      FixedList{"MicGain", MultiList::MG, 101, "        0 ", "        1 ", "      100 "},
                      FixedList{"KeyingSpeed", MultiList::KS, 51, "       10 ", "       11 ", "       60 "},
                      FixedList{"Monitor", MultiList::ML, 10, "      OFF ", "        1 ", "        9 "},
                      FixedList{"Carrier", MultiList::CG, 101, "        0 ", "        1 ", "      100 "},
                      FixedList{"BreakIn", MultiList::SD, 21, "     FBK", "       50 ", "     1000 "}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(MultiEntries, NoiseReductionLevelsByState) {
    const auto off = NoiseReductionEntries(0);
    ASSERT_TRUE(off.has_value());
    EXPECT_EQ(off->entries, QStringList{QStringLiteral(" N.R. OFF")});
    EXPECT_TRUE(off->forceFirst);
    EXPECT_TRUE(off->unit.isEmpty());

    const auto one = NoiseReductionEntries(1);
    ASSERT_TRUE(one.has_value());
    ASSERT_EQ(one->entries.size(), 10);
    EXPECT_EQ(S(one->entries[0]), "    AUTO");
    EXPECT_EQ(S(one->entries[1]), "        1 ");
    EXPECT_EQ(S(one->entries[9]), "        9 ");
    EXPECT_TRUE(one->unit.isEmpty());
    EXPECT_FALSE(one->forceFirst);

    const auto two = NoiseReductionEntries(2);
    ASSERT_TRUE(two.has_value());
    ASSERT_EQ(two->entries.size(), 10);
    EXPECT_EQ(S(two->entries[0]), "        2 ");
    EXPECT_EQ(S(two->entries[9]), "       20 ");
    EXPECT_EQ(S(two->unit), "ms");

    EXPECT_FALSE(NoiseReductionEntries(3).has_value());
    EXPECT_FALSE(NoiseReductionEntries(0xFFFFFFFFu).has_value());
}

// --------------------------------------------------------- reply and write

struct ReplyCase {
    MultiList list;
    std::uint32_t value;
    int index; // -1: selects nothing
};

class ReplyIndexes : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(ReplyIndexes, ValueSelectsItsEntryOrNothing) {
    const ReplyCase& p = GetParam();
    const int count = static_cast<int>(FixedEntries(p.list).size());
    EXPECT_EQ(IndexOfReply(p.list, p.value, count), p.index)
        << "list " << static_cast<int>(p.list) << " value " << p.value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, ReplyIndexes,
    ::testing::Values(ReplyCase{MultiList::VG, 9, 9}, ReplyCase{MultiList::VG, 10, -1},
                      ReplyCase{MultiList::VD, 300, 2}, ReplyCase{MultiList::VD, 3000, 20},
                      ReplyCase{MultiList::VD, 3150, -1}, ReplyCase{MultiList::TN, 1, 0},
                      ReplyCase{MultiList::TN, 39, 38}, ReplyCase{MultiList::TN, 0, -1},
                      ReplyCase{MultiList::TN, 40, -1}, ReplyCase{MultiList::CN, 38, 37},
                      ReplyCase{MultiList::CN, 39, -1}, ReplyCase{MultiList::CN, 0, -1},
                      ReplyCase{MultiList::NL, 0, -1}, ReplyCase{MultiList::NL, 10, 9},
                      ReplyCase{MultiList::QC, 103, 103}, ReplyCase{MultiList::QC, 104, -1},
                      ReplyCase{MultiList::OF, 59'950'000, 1199}, ReplyCase{MultiList::OF, 60'000'000, -1},
                      ReplyCase{MultiList::OF, 75'000, 1}, ReplyCase{MultiList::KS, 9, -1},
                      ReplyCase{MultiList::KS, 10, 0}, ReplyCase{MultiList::KS, 60, 50},
                      ReplyCase{MultiList::KS, 61, -1}, ReplyCase{MultiList::SD, 1000, 20},
                      ReplyCase{MultiList::SD, 1050, -1}, ReplyCase{MultiList::AL, 4, 4},
                      ReplyCase{MultiList::AL, 5, -1}, ReplyCase{MultiList::ML, 0, 0},
                      ReplyCase{MultiList::CG, 101, -1}, ReplyCase{MultiList::MG, 0xFFFFFFFFu, -1},
                      ReplyCase{MultiList::PLIn, 100, 100}, ReplyCase{MultiList::PLOut, 101, -1}));

struct WriteCase {
    MultiList list;
    int index;
    std::uint32_t value;
};

class WrittenValues : public ::testing::TestWithParam<WriteCase> {};

TEST_P(WrittenValues, EntryWritesItsValueAndTheValueSelectsItBack) {
    const WriteCase& p = GetParam();
    EXPECT_EQ(ValueOfIndex(p.list, p.index), p.value);
    const int count = static_cast<int>(FixedEntries(p.list).size());
    EXPECT_EQ(IndexOfReply(p.list, p.value, count), p.index);
}

INSTANTIATE_TEST_SUITE_P(Entries, WrittenValues,
                         ::testing::Values(WriteCase{MultiList::VG, 3, 3}, WriteCase{MultiList::VD, 2, 300},
                                           WriteCase{MultiList::TN, 38, 39}, WriteCase{MultiList::CN, 0, 1},
                                           WriteCase{MultiList::NL, 9, 10}, WriteCase{MultiList::QC, 103, 103},
                                           WriteCase{MultiList::OF, 1199, 59'950'000},
                                           WriteCase{MultiList::KS, 0, 10}, WriteCase{MultiList::KS, 50, 60},
                                           WriteCase{MultiList::SD, 20, 1000}, WriteCase{MultiList::AL, 0, 0}));

// ------------------------------------------------------------ power list

struct BandCase {
    std::uint32_t band;
    std::uint32_t versionType;
    int bandClass;
};

class BandClasses : public ::testing::TestWithParam<BandCase> {};

TEST_P(BandClasses, FromTheBandNumber) {
    EXPECT_EQ(BandClass(GetParam().band, GetParam().versionType), GetParam().bandClass)
        << "band " << GetParam().band << " version " << GetParam().versionType;
}

INSTANTIATE_TEST_SUITE_P(Bands, BandClasses,
                         ::testing::Values(BandCase{0, 1, 0}, BandCase{1, 1, 0}, BandCase{10, 1, 0},
                                           BandCase{11, 1, 1}, BandCase{12, 1, 2}, BandCase{15, 1, 2},
                                           BandCase{13, 1, 3}, BandCase{16, 1, 3}, BandCase{14, 1, 4},
                                           BandCase{17, 1, 0}, BandCase{2, 7, 5}, BandCase{2, 6, 0},
                                           BandCase{14, 7, 4}, BandCase{0xFFFFFFFFu, 7, 0}));

struct PowerCase {
    const char* name;
    PowerInputs in;
    PowerLimits limits;
    std::vector<const char*> entries; // all of them when short, else first and last
};

PowerInputs In(std::uint32_t versionType, int bandClass, std::uint32_t mode, bool fine = false, bool a = false,
               bool b = false) {
    return {versionType, bandClass, mode, fine, a, b};
}

constexpr std::uint32_t kUsb = 2;
constexpr std::uint32_t kFm = 4;
constexpr std::uint32_t kAm = 5;

class PowerRules : public ::testing::TestWithParam<PowerCase> {};

TEST_P(PowerRules, LimitsAndEntries) {
    const PowerCase& p = GetParam();
    const PowerLimits limits = ComputePowerLimits(p.in);
    EXPECT_EQ(limits.maximum, p.limits.maximum);
    EXPECT_EQ(limits.minimum, p.limits.minimum);
    EXPECT_EQ(limits.step, p.limits.step);
    const QStringList entries = PowerEntries(limits, p.in.bandClass, p.in.mode);
    if (p.entries.size() == 2 && entries.size() > 2) {
        EXPECT_EQ(S(entries.first()), p.entries[0]);
        EXPECT_EQ(S(entries.last()), p.entries[1]);
        EXPECT_EQ(entries.size(), (limits.maximum - limits.minimum) / limits.step + 1);
    } else {
        ASSERT_EQ(static_cast<std::size_t>(entries.size()), p.entries.size());
        for (std::size_t i = 0; i < p.entries.size(); ++i) {
            EXPECT_EQ(S(entries[static_cast<qsizetype>(i)]), p.entries[i]) << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Versions, PowerRules,
    ::testing::Values(
        PowerCase{"HfUsb", In(1, 0, kUsb), {100, 5, 5}, {"        5 ", "      100 "}},
        PowerCase{"SixMetresAm", In(3, 1, kAm), {25, 5, 5},
                  {"        5 ", "       10 ", "       15 ", "       20 ", "       25 "}},
        PowerCase{"TwoMetresFm", In(9, 2, kFm), {100, 5, 5}, {"        5 ", "      100 "}},
        PowerCase{"SeventyCmFm", In(4, 3, kFm), {50, 5, 5}, {"        5 ", "       50 "}},
        PowerCase{"SeventyCmAm", In(2, 3, kAm), {13, 5, 1},
                  {"        5 ", "        6 ", "        7 ", "        8 ", "        9 ", "       10 ",
                   "       11 ", "       12 ", "     12.5 "}},
        PowerCase{"TwentyThreeCmAm", In(1, 4, kAm), {3, 1, 1}, {"        1 ", "        2 ", "      2.5 "}},
        PowerCase{"TwentyThreeCmFm", In(1, 4, kFm), {10, 1, 1}, {"        1 ", "       10 "}},
        PowerCase{"TwentyThreeCmWithoutVersion", In(0, 4, kUsb), {10, 1, 1}, {"        1 ", "       10 "}},
        PowerCase{"OneSixtyMetresOfVersion7", In(7, 5, kUsb), {10, 10, 10}, {"       10 "}},
        PowerCase{"OneSixtyMetresFineStep", In(7, 5, kUsb, true), {10, 10, 10}, {"       10 "}},
        PowerCase{"FineStepHf", In(1, 0, kUsb, true), {100, 5, 1}, {"        5 ", "      100 "}},
        PowerCase{"FineStepTwentyThreeCmAm", In(1, 4, kAm, true), {3, 1, 1},
                  {"        1 ", "        2 ", "      2.5 "}},
        PowerCase{"Version10FlagA", In(10, 0, kUsb, false, true, true), {50, 5, 5}, {"        5 ", "       50 "}},
        PowerCase{"Version10NoFlags", In(10, 1, kUsb), {100, 5, 5}, {"        5 ", "      100 "}},
        PowerCase{"Version10TwoMetresFlagA", In(10, 2, kFm, false, true, false), {50, 5, 5},
                  {"        5 ", "       50 "}},
        PowerCase{"Version10TwoMetresFlagB", In(10, 2, kFm, false, false, true), {100, 5, 5},
                  {"        5 ", "      100 "}},
        PowerCase{"Version10TwoMetresNoFlags", In(10, 2, kFm), {50, 5, 5}, {"        5 ", "       50 "}},
        PowerCase{"Version10SeventyCm", In(10, 3, kFm, false, false, true), {50, 5, 5},
                  {"        5 ", "       50 "}},
        PowerCase{"Version10SeventyCmAm", In(10, 3, kAm), {13, 5, 1}, {"        5 ", "     12.5 "}},
        PowerCase{"Version10HfAm", In(10, 0, kAm, false, true, true), {25, 5, 5}, {"        5 ", "       25 "}},
        PowerCase{"Version11Hf", In(11, 0, kUsb), {10, 1, 1}, {"        1 ", "       10 "}},
        PowerCase{"Version11TwoMetres", In(11, 2, kFm), {20, 1, 1}, {"        1 ", "       20 "}},
        PowerCase{"Version11SeventyCmAm", In(11, 3, kAm), {5, 1, 1},
                  {"        1 ", "        2 ", "        3 ", "        4 ", "        5 "}},
        PowerCase{"NoVersion", In(0, 0, kUsb), {100, 100, 5}, {"      100 "}},
        PowerCase{"NoVersionAmSeventyCm", In(0, 3, kAm), {100, 100, 1}, {"      100 "}},
        PowerCase{"UnknownVersion", In(12, 2, kFm), {100, 100, 5}, {"      100 "}},
        PowerCase{"ModeZeroAtOpen", In(1, 3, 0), {50, 5, 5}, {"        5 ", "       50 "}}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(PowerWrites, TheHalfWattEntriesWriteTheWholeWattAboveThem) {
    const PowerLimits gigahertz = ComputePowerLimits(In(1, 4, kAm));
    EXPECT_EQ(PowerValueOf(2, gigahertz), std::optional<std::uint32_t>(3));
    EXPECT_EQ(PowerIndexOf(3, gigahertz, 3), 2);
    const PowerLimits seventy = ComputePowerLimits(In(5, 3, kAm));
    EXPECT_EQ(PowerValueOf(8, seventy), std::optional<std::uint32_t>(13));
    EXPECT_EQ(PowerIndexOf(13, seventy, 9), 8);
}

TEST(PowerWrites, ValuesOutsideTheListSelectAndWriteNothing) {
    const PowerLimits hf = ComputePowerLimits(In(1, 0, kUsb)); // 5..100 in 5
    EXPECT_EQ(PowerIndexOf(50, hf, 20), 9);
    EXPECT_EQ(PowerIndexOf(0, hf, 20), -1);
    EXPECT_EQ(PowerIndexOf(4, hf, 20), -1);
    EXPECT_EQ(PowerIndexOf(105, hf, 20), -1);
    EXPECT_EQ(PowerIndexOf(0xFFFFFFFFu, hf, 20), -1);
    EXPECT_EQ(PowerValueOf(-1, hf), std::nullopt);
    EXPECT_EQ(PowerValueOf(20, hf), std::nullopt);
    const PowerLimits none = ComputePowerLimits(In(0, 0, kUsb));
    EXPECT_EQ(PowerValueOf(0, none), std::optional<std::uint32_t>(100));
    EXPECT_EQ(PowerValueOf(1, none), std::nullopt);
    EXPECT_EQ(PowerIndexOf(5, none, 1), -1);
}

// Every list the rules can build (band class 5 exists on version type 7
// only): each entry writes a value inside its
// limits and inside what the radio takes (1..100 W), and that value selects
// the same entry again.
TEST(PowerWrites, EveryEntryOfEveryListRoundTripsInsideTheLimits) {
    int lists = 0;
    for (std::uint32_t version = 0; version <= 12; ++version) {
        for (int bandClass = 0; bandClass <= 5; ++bandClass) {
            if (bandClass == 5 && version != 7) {
                continue;
            }
            for (std::uint32_t mode = 0; mode <= 9; ++mode) {
                for (int flags = 0; flags < 8; ++flags) {
                    const PowerInputs in = In(version, bandClass, mode, flags & 1, flags & 2, flags & 4);
                    const PowerLimits limits = ComputePowerLimits(in);
                    const QStringList entries = PowerEntries(limits, bandClass, mode);
                    ASSERT_FALSE(entries.isEmpty());
                    ++lists;
                    for (int i = 0; i < entries.size(); ++i) {
                        const auto watts = PowerValueOf(i, limits);
                        ASSERT_TRUE(watts.has_value()) << version << "/" << bandClass << "/" << mode << " entry " << i;
                        ASSERT_GE(*watts, static_cast<std::uint32_t>(limits.minimum));
                        ASSERT_LE(*watts, static_cast<std::uint32_t>(limits.maximum));
                        ASSERT_GE(*watts, 1u);
                        ASSERT_LE(*watts, 100u);
                        ASSERT_EQ(PowerIndexOf(*watts, limits, static_cast<int>(entries.size())), i);
                        // The text shows the value written, but for the two half-watt entries.
                        const double shown = entries[i].trimmed().toDouble();
                        ASSERT_LE(static_cast<double>(*watts) - shown, 0.5) << S(entries[i]);
                        ASSERT_GE(static_cast<double>(*watts) - shown, 0.0) << S(entries[i]);
                    }
                    EXPECT_FALSE(PowerValueOf(static_cast<int>(entries.size()), limits).has_value());
                }
            }
        }
    }
    EXPECT_EQ(lists, (13 * 5 + 1) * 10 * 8);
}

} // namespace
} // namespace pandor::test
