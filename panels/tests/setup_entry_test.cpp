// SPDX-License-Identifier: GPL-3.0-or-later
// The transverter rows as text: showing a frequency, stepping it with the
// mouse, the profile's text, and typing a frequency key by key.
#include "setup_entry.h"

#include <gtest/gtest.h>

#include <string>

namespace pandor {
namespace {

// ------------------------------------------------------------ showing

// The eleven digits (10 GHz first) and the dots after GHz, MHz and kHz.
struct ShowCase {
    const char* name;
    std::int64_t hz;
    const char* digits;
    const char* dots;
};
void PrintTo(const ShowCase& c, std::ostream* out) { *out << c.name; }

std::string Digits(const RowText& text) { return std::string(text.digits.begin(), text.digits.end()); }
std::string Dots(const RowText& text) { return std::string(text.dots.begin(), text.dots.end()); }

class ShowRow : public testing::TestWithParam<ShowCase> {};

TEST_P(ShowRow, BlanksLeadingZerosAndDotsBeforeTheFirstDigit) {
    const RowText text = ShowFrequency(GetParam().hz);
    EXPECT_EQ(Digits(text), GetParam().digits);
    EXPECT_EQ(Dots(text), GetParam().dots);
}

INSTANTIATE_TEST_SUITE_P(
    Frequencies, ShowRow,
    testing::Values(ShowCase{"Zero", 0, "          0", "   "},
                    ShowCase{"OneHertz", 1, "          1", "   "},
                    ShowCase{"OneKilohertz", 1'000, "       1000", "  ."},
                    ShowCase{"HundredKilohertz", 100'000, "     100000", "  ."},
                    ShowCase{"OneMegahertz", 1'000'000, "    1000000", " .."},
                    ShowCase{"TwoMetres", 144'100'000, "  144100000", " .."},
                    ShowCase{"OneGigahertz", 1'000'000'000, " 1000000000", "..."},
                    ShowCase{"TenGigahertz", 10'368'000'000, "10368000000", "..."},
                    ShowCase{"Largest", 99'999'999'999, "99999999999", "..."},
                    ShowCase{"NegativeHeldToZero", -5, "          0", "   "},
                    ShowCase{"BeyondHeldToLargest", 123'456'789'012, "99999999999", "..."}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(ShowRowText, PutsTheDotsAfterGigaMegaAndKilohertz) {
    EXPECT_EQ(ShowFrequency(10'368'000'000).shown(), "10.368.000.000");
    EXPECT_EQ(ShowFrequency(144'100'000).shown(), "   144.100.000");
}

// ------------------------------------------------------------ stepping

struct StepCase {
    const char* name;
    std::int64_t from;
    int digit; // 0 = 1 Hz .. 10 = 10 GHz
    bool up;
    std::int64_t to;
};
void PrintTo(const StepCase& c, std::ostream* out) { *out << c.name; }

class StepRow : public testing::TestWithParam<StepCase> {};

TEST_P(StepRow, StepsByTheDigitsWeightWithinTheRange) {
    const StepCase& c = GetParam();
    EXPECT_EQ(StepFrequency(c.from, c.digit, c.up), c.to);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, StepRow,
    testing::Values(StepCase{"OneHertzUp", 0, 0, true, 1},
                    StepCase{"OneHertzDownAtZeroStays", 0, 0, false, 0},
                    StepCase{"MegahertzUpCarries", 144'900'000, 6, true, 145'900'000},
                    StepCase{"KilohertzDownBorrows", 145'000'000, 3, false, 144'999'000},
                    StepCase{"TenGigahertzUpAtTheTopStays", 99'999'999'999, 10, true, 99'999'999'999},
                    StepCase{"TenGigahertzUpHeldToTheTop", 95'000'000'000, 10, true, 99'999'999'999},
                    StepCase{"TenGigahertzDownBelowZeroGivesZero", 5'000'000'000, 10, false, 0},
                    StepCase{"GigahertzDownExactlyToZero", 1'000'000'000, 9, false, 0},
                    StepCase{"DigitOutsideTheRowChangesNothing", 1234, 11, true, 1234},
                    StepCase{"NegativeDigitChangesNothing", 1234, -1, false, 1234}),
    [](const auto& p) { return std::string(p.param.name); });

// ------------------------------------------------------------ profile text

struct TextCase {
    const char* name;
    const char* text;
    std::int64_t hz;
};
void PrintTo(const TextCase& c, std::ostream* out) { *out << c.name; }

class ProfileText : public testing::TestWithParam<TextCase> {};

TEST_P(ProfileText, ReadsNumbersAndGivesZeroForAnythingElse) {
    EXPECT_EQ(ParseTransverterText(GetParam().text), GetParam().hz);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ProfileText,
    testing::Values(TextCase{"Stored", "00144000000", 144'000'000},
                    TextCase{"Default", "0", 0},
                    TextCase{"Empty", "", 0},
                    TextCase{"Letters", "abc", 0},
                    TextCase{"DigitsThenLetters", "144MHz", 0},
                    TextCase{"LettersThenDigits", "x144", 0},
                    TextCase{"SpacesAround", "  00100000000 ", 100'000'000},
                    TextCase{"Negative", "-100", 0},
                    TextCase{"TooLarge", "123456789012", 99'999'999'999},
                    TextCase{"BeyondSixtyFourBits", "99999999999999999999999", 99'999'999'999},
                    TextCase{"Fraction", "144.5", 0}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(ProfileText, FormatsElevenDigits) {
    EXPECT_EQ(FormatTransverterText(0), "00000000000");
    EXPECT_EQ(FormatTransverterText(144'100'000), "00144100000");
    EXPECT_EQ(FormatTransverterText(99'999'999'999), "99999999999");
}

// ------------------------------------------------------------ typing

// Keys: digits, "." for the period; the digits and dots the row shows after
// the last key, the count typed, whether the last key ended entry, and the
// value read from the digits.
struct TypeCase {
    const char* name;
    const char* keys;
    const char* digits;
    const char* dots;
    int count;
    bool ended;
    std::int64_t value;
};
void PrintTo(const TypeCase& c, std::ostream* out) { *out << c.name; }

class TypeRow : public testing::TestWithParam<TypeCase> {};

TEST_P(TypeRow, ShowsTheTypedDigits) {
    const TypeCase& c = GetParam();
    RowEntry entry;
    entry.Start();
    bool ended = false;
    for (const char* key = c.keys; *key != '\0'; ++key) {
        ASSERT_FALSE(ended) << "a key after the row was full";
        if (*key == '.') {
            entry.TypePeriod();
        } else {
            ended = entry.TypeDigit(*key - '0');
        }
    }
    EXPECT_EQ(Digits(entry.text()), c.digits);
    EXPECT_EQ(Dots(entry.text()), c.dots);
    EXPECT_EQ(entry.count(), c.count);
    EXPECT_EQ(ended, c.ended);
    EXPECT_EQ(entry.Value(), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, TypeRow,
    testing::Values(
        TypeCase{"Started", "", "-----------", "...", 0, false, 0},
        TypeCase{"TwoMetresWithThePeriod", "144.1", "  1441-----", " ..", 6, false, 144'100'000},
        TypeCase{"PeriodAloneBlanksTheMegahertz", ".", "     ------", "  .", 5, false, 0},
        TypeCase{"PeriodAfterOneDigit", "5.", "    5------", " ..", 5, false, 5'000'000},
        TypeCase{"PeriodAfterFourDigits", "1296.", " 1296------", "...", 5, false, 1'296'000'000},
        TypeCase{"PeriodAfterFiveDigitsIsIgnored", "10368.", "10368------", "...", 5, false, 10'368'000'000},
        TypeCase{"SecondPeriodIsIgnored", "1..2", "    12-----", " ..", 6, false, 1'200'000},
        TypeCase{"LeadingZeroIsBlank", "0", " ----------", "...", 1, false, 0},
        TypeCase{"LeadingZeroAtGigahertzBlanksItsDot", "00", "  ---------", " ..", 2, false, 0},
        TypeCase{"LeadingZeroAtTenMegahertzKeepsTheDots", "000", "   --------", " ..", 3, false, 0},
        TypeCase{"LeadingZeroAtMegahertzBlanksItsDot", "00000", "     ------", "  .", 5, false, 0},
        TypeCase{"LeadingZeroAtKilohertzBlanksItsDot", "00000000", "        ---", "   ", 8, false, 0},
        TypeCase{"ZeroAfterANonZeroDigitShows", "0014400", "  14400----", " ..", 7, false, 144'000'000},
        TypeCase{"ElevenDigitsEndEntry", "00144100000", "  144100000", " ..", 11, true, 144'100'000},
        TypeCase{"ElevenZerosEndEntry", "00000000000", "           ", "   ", 11, true, 0},
        TypeCase{"LargestTyped", "99999999999", "99999999999", "...", 11, true, 99'999'999'999},
        TypeCase{"PeriodThenSixDigitsFillTheRow", "432.123456", "  432123456", " ..", 11, true, 432'123'456},
        TypeCase{"ZeroPeriodZeroKeepsBlanks", "0.0", "      -----", "  .", 6, false, 0}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(TypeRowLimits, DigitsBeyondTheEleventhAndNonDigitsAreIgnored) {
    RowEntry entry;
    entry.Start();
    EXPECT_FALSE(entry.TypeDigit(10));
    EXPECT_FALSE(entry.TypeDigit(-1));
    EXPECT_EQ(entry.count(), 0);
    for (int i = 0; i < 10; ++i) {
        EXPECT_FALSE(entry.TypeDigit(1));
    }
    EXPECT_TRUE(entry.TypeDigit(1));
    EXPECT_FALSE(entry.TypeDigit(2));
    EXPECT_EQ(entry.count(), 11);
    EXPECT_EQ(entry.Value(), 11'111'111'111);
}

TEST(TypeRowLimits, StartAgainForgetsWhatWasTyped) {
    RowEntry entry;
    entry.Start();
    entry.TypeDigit(7);
    entry.TypePeriod();
    entry.Start();
    EXPECT_EQ(entry.count(), 0);
    EXPECT_EQ(entry.text().shown(), "--.---.---.---");
    EXPECT_EQ(entry.Value(), 0);
}

} // namespace
} // namespace pandor
