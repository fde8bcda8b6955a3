// SPDX-License-Identifier: GPL-3.0-or-later
// The design-data file: its exact text, the round trip and damaged files.
#include "design_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using tonwell::DesignParams;
using tonwell::FileError;

TEST(DesignFile, DefaultLowPassText) {
    EXPECT_EQ(tonwell::FormatDesignFile(DesignParams{1, 0.3, 0.0, 20}),
              "1\n0.300\n0.300\n0.000\n20.000\n\n----- Note -----\n\n");
}

TEST(DesignFile, SecondLineIsThePrototypeCutoff) {
    EXPECT_EQ(tonwell::FormatDesignFile(DesignParams{2, 1.5, 0.0, 50}),
              "2\n4.500\n1.500\n0.000\n50.000\n\n----- Note -----\n\n");
    EXPECT_EQ(tonwell::FormatDesignFile(DesignParams{4, 2.0, 4.0, 33}),
              "4\n1.000\n2.000\n4.000\n33.000\n\n----- Note -----\n\n");
}

TEST(DesignFile, FixedThreeDecimals) {
    EXPECT_EQ(tonwell::FormatFixed3(0.0), "0.000");
    EXPECT_EQ(tonwell::FormatFixed3(5.999), "5.999");
    EXPECT_EQ(tonwell::FormatFixed3(0.0005), "0.001"); // nearest, as printf rounds 0.0005 up here
    EXPECT_EQ(tonwell::FormatFixed3(99.0), "99.000");
}

class RoundTripTest : public ::testing::TestWithParam<DesignParams> {};

TEST_P(RoundTripTest, LoadRestoresWhatWasSaved) {
    const DesignParams saved = GetParam();
    const auto loaded = tonwell::ParseDesignFile(tonwell::FormatDesignFile(saved));
    ASSERT_EQ(loaded.error, FileError::None);
    EXPECT_EQ(loaded.params.type, saved.type);
    EXPECT_EQ(loaded.params.f1, saved.f1);
    EXPECT_EQ(loaded.params.f2, saved.f2);
    EXPECT_EQ(loaded.params.attenuation, saved.attenuation);
    EXPECT_EQ(tonwell::TapText(tonwell::DesignFilter(loaded.params)), tonwell::TapText(tonwell::DesignFilter(saved)));
}

INSTANTIATE_TEST_SUITE_P(EveryType, RoundTripTest,
                         ::testing::Values(DesignParams{1, 0.3, 0.0, 20}, DesignParams{1, 4.001, 0.0, 1},
                                           DesignParams{2, 0.001, 0.0, 99}, DesignParams{2, 5.999, 3.0, 37},
                                           DesignParams{3, 2.0, 4.0, 20}, DesignParams{3, 0.123, 0.124, 61},
                                           DesignParams{4, 1.001, 5.999, 50}, DesignParams{4, 0.3, 2.7, 21}));

struct LoadCase {
    const char* name;
    const char* text;
    FileError error;
    DesignParams expected; // when error is None
};

std::ostream& operator<<(std::ostream& os, const LoadCase& c) { return os << c.name; }

class LoadTest : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadTest, ParsesOrRefuses) {
    const auto result = tonwell::ParseDesignFile(GetParam().text);
    ASSERT_EQ(result.error, GetParam().error);
    if (result.error == FileError::None) {
        EXPECT_EQ(result.params.type, GetParam().expected.type);
        EXPECT_DOUBLE_EQ(result.params.f1, GetParam().expected.f1);
        EXPECT_DOUBLE_EQ(result.params.f2, GetParam().expected.f2);
        EXPECT_DOUBLE_EQ(result.params.attenuation, GetParam().expected.attenuation);
    }
}

// What the window writes after the five values.
#define NOTE "\n----- Note -----\n\n"

INSTANTIATE_TEST_SUITE_P(
    Files, LoadTest,
    ::testing::Values(
        LoadCase{"Empty", "", FileError::TooFewLines, {}},
        LoadCase{"FourLines", "1\n0.3\n0.3\n0.0\n", FileError::TooFewLines, {}},
        LoadCase{"CrLfAndSpaces", " 2 \r\n0\r\n  1.5\r\n0.000\r\n 40.000\r\n\r\n----- Note -----\r\n\r\n",
                 FileError::None, {2, 1.5, 0.0, 40}},
        LoadCase{"SecondLineIgnored", "1\nnot used\n0.3\n0\n20\n" NOTE, FileError::None, {1, 0.3, 0.0, 20}},
        LoadCase{"NotesAfterTheHeading", "3\n1\n2.0\n4.0\n30\n" NOTE "the 40 m net\n", FileError::None,
                 {3, 2.0, 4.0, 30}},
        LoadCase{"LettersForType", "abc\n0.3\n0.3\n0\n20\n" NOTE, FileError::NotANumber, {}},
        LoadCase{"LettersForF1", "1\n0.3\nthree\n0\n20\n" NOTE, FileError::NotANumber, {}},
        LoadCase{"TrailingLetters", "1\n0.3\n0.3kHz\n0\n20\n" NOTE, FileError::NotANumber, {}},
        LoadCase{"EmptyAttenuation", "1\n0.3\n0.3\n0\n\n" NOTE, FileError::NotANumber, {}},
        LoadCase{"NotANumberText", "1\n0.3\nnan\n0\n20\n" NOTE, FileError::NotANumber, {}},
        LoadCase{"Infinity", "1\n0.3\ninf\n0\n20\n" NOTE, FileError::NotANumber, {}},
        LoadCase{"Overflow", "1\n0.3\n1e999\n0\n20\n" NOTE, FileError::NotANumber, {}},
        LoadCase{"TypeNine", "9\n0.3\n0.3\n0\n20\n" NOTE, FileError::BadType, {}},
        LoadCase{"TypeZero", "0\n0.3\n0.3\n0\n20\n" NOTE, FileError::BadType, {}},
        LoadCase{"TypeFraction", "2.5\n0.3\n0.3\n0\n20\n" NOTE, FileError::BadType, {}},
        LoadCase{"TypeHuge", "1e300\n0.3\n0.3\n0\n20\n" NOTE, FileError::BadType, {}},
        LoadCase{"TypeWithDecimals", "4.000\n1\n2\n4\n20\n" NOTE, FileError::None, {4, 2.0, 4.0, 20}},
        // Cut short: whatever the five lines still read, the file is refused.
        LoadCase{"CutInsideTheFifthLine", "1\n0.300\n0.300\n0.000\n6", FileError::NoNote, {}},
        LoadCase{"CutAfterTheFifthLine", "3\n1\n2.0\n4.0\n30\n", FileError::NoNote, {}},
        LoadCase{"CutInsideTheHeading", "1\n0\n0.3\n0\n20\n\n----- No", FileError::NoNote, {}},
        LoadCase{"OtherHeading", "1\n0\n0.3\n0\n20\n\nNotes\n\n", FileError::NoNote, {}},
        // Values the window cannot hold are refused, never clamped or swapped.
        LoadCase{"F1Ninetynine", "1\n0\n99.000\n0\n20\n" NOTE, FileError::OutOfRange, {}},
        LoadCase{"NegativeF1", "1\n0\n-5.000\n0\n20\n" NOTE, FileError::OutOfRange, {}},
        LoadCase{"HugeF1", "2\n0\n1e9\n0\n20\n" NOTE, FileError::OutOfRange, {}},
        LoadCase{"ZeroF1", "2\n0\n0.000\n0\n20\n" NOTE, FileError::OutOfRange, {}},
        LoadCase{"NegativeF2ForLowPass", "1\n0\n1\n-3\n20\n" NOTE, FileError::OutOfRange, {}},
        LoadCase{"F2KeptByALowPass", "1\n0\n1\n4.000\n20\n" NOTE, FileError::None, {1, 1.0, 4.0, 20}},
        LoadCase{"ZeroF2ForBandPass", "3\n0\n1\n0\n20\n" NOTE, FileError::OutOfRange, {}},
        LoadCase{"BandEdgesSwapped", "3\n0\n4\n2\n20\n" NOTE, FileError::OutOfRange, {}},
        LoadCase{"BandEdgesEqual", "4\n0\n2\n2\n20\n" NOTE, FileError::OutOfRange, {}},
        LoadCase{"BandEdgesOneHertzApart", "4\n0\n5.998\n5.999\n20\n" NOTE, FileError::None, {4, 5.998, 5.999, 20}},
        // Loading takes the whole part of a value: a fraction of a hertz or
        // of a decibel is dropped, never rounded up into the next step.
        LoadCase{"SubHertzDropped", "1\n0\n0.3004\n0\n20\n" NOTE, FileError::None, {1, 0.3, 0.0, 20}},
        LoadCase{"NineTenthsOfAHertzDropped", "3\n0\n0.3009\n2.7009\n20.9\n" NOTE, FileError::None,
                 {3, 0.3, 2.7, 20}},
        LoadCase{"ExactThousandthsKept", "4\n0\n4.001\n5.999\n99\n" NOTE, FileError::None, {4, 4.001, 5.999, 99}},
        LoadCase{"AttenuationThousand", "1\n0\n0.3\n0\n1000\n" NOTE, FileError::OutOfRange, {}},
        LoadCase{"AttenuationNegative", "1\n0\n0.3\n0\n-5.000\n" NOTE, FileError::OutOfRange, {}},
        LoadCase{"AttenuationZero", "1\n0\n0.3\n0\n0.000\n" NOTE, FileError::OutOfRange, {}},
        LoadCase{"AttenuationLimits", "2\n0\n0.001\n0\n99.000\n" NOTE, FileError::None, {2, 0.001, 0.0, 99}},
        LoadCase{"AttenuationFraction", "1\n0\n0.3\n0\n49.6\n" NOTE, FileError::None, {1, 0.3, 0.0, 49}},
        LoadCase{"AttenuationBelowOneDecibel", "1\n0\n0.3\n0\n0.9\n" NOTE, FileError::OutOfRange, {}},
        LoadCase{"LongGarbageLine", "1\n0\n00000000000000000000000000000000000000000000000000000000000000000000000.3\n0\n20\n" NOTE,
                 FileError::NotANumber, {}},
        LoadCase{"BinaryNoise", "\x01\x02\xff\n\n\n\n\n", FileError::NotANumber, {}}),
    [](const auto& tc) { return std::string(tc.param.name); });

#undef NOTE

} // namespace
